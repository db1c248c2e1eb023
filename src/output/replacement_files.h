// Output files written under temporary names in the target folder and moved into place together.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "output/file_sink.h"

namespace kellvor {

// A set of files that replace their namesakes in one folder all together or not at all.
class ReplacementFiles {
  public:
    // Files will go into dir.
    explicit ReplacementFiles(std::filesystem::path dir);
    ReplacementFiles(const ReplacementFiles&) = delete;
    ReplacementFiles& operator=(const ReplacementFiles&) = delete;
    // Removes every temporary file that was not moved into place.
    ~ReplacementFiles();

    // Creates the temporary file that will become dir/name; nullptr on failure (see message()).
    FileSink* create(const std::string& name);
    // Closes every file and renames each over its name. When one rename fails, the files
    // already replaced are put back from hard-link copies of the originals. False on failure.
    bool commit();
    // Records that the file name failed with ec, unless a failure is already recorded.
    void fail(const std::string& name, std::error_code ec, std::string_view action);
    // German text naming the file and the reason of the first failure; empty while none.
    const std::string& message() const { return m_message; }
    // The temporary file that will become dir/name (empty when there is none), to read back what
    // was written before the commit.
    std::filesystem::path temporaryPath(const std::string& name) const;

  private:
    struct Entry {
        std::string name;
        std::filesystem::path temp;
        std::filesystem::path backup;  // hard link to the earlier file, while the set commits
        bool existed = false;          // the final name held a file before the commit
        std::unique_ptr<FileSink> sink;
    };

    std::filesystem::path uniqueName(const std::string& name, const char* kind);
    void makeBackups();
    void putBack(std::size_t replaced);

    std::filesystem::path m_dir;
    std::vector<Entry> m_entries;
    std::string m_message;
    unsigned m_counter = 0;
};

}  // namespace kellvor

// The one way Kellvor replaces files: new files are written under random temporary names in the
// target folder and switched into place as one step to every later Kellvor run.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "output/file_sink.h"
#include "output/output_folder.h"
#include "output/set_recovery.h"

namespace kellvor {

// What a replacement may touch besides the files it writes.
enum class ReplacementScope {
    // Kellvor's set (names from kSetFileNames): the folder is recovered first, and the switch
    // also removes the set's optional files that this run does not write.
    fileSet,
    // One file given by its own path, any name: replaced on its own by one rename.
    singleFile,
};

// The steps of a replacement, for tests that make one fail or stop the process there.
enum class ReplacementStep { syncFile, backUp, writeRecord, syncFolder, rename, remove, cleanUp };

// Called before each step with the name it concerns; a returned error makes the step fail.
using StepHook = std::function<std::error_code(ReplacementStep step, const std::string& name)>;

// Files that replace their namesakes in one folder all together or not at all. The folder is
// held under its lock from the first create() to the end. The switch: every temporary is synced;
// every earlier file gets a hard-link backup (one that cannot be taken fails the command before
// anything is renamed); a commit record naming temporaries and targets is written and synced
// with the folder; the renames (and removals) follow; the backups go; the folder is synced; the
// record goes. A process that dies before the record leaves the earlier set, one that dies after
// it a set the next recovery completes.
class ReplacementFiles {
  public:
    // Files will go into dir; wait is called while another run holds the folder's lock.
    explicit ReplacementFiles(std::filesystem::path dir,
                              ReplacementScope scope = ReplacementScope::fileSet,
                              LockWait wait = {});
    ReplacementFiles(const ReplacementFiles&) = delete;
    ReplacementFiles& operator=(const ReplacementFiles&) = delete;
    // Removes every temporary file and backup, unless a switch was left for the next recovery.
    ~ReplacementFiles();

    // Creates the temporary file that will become dir/name (opening, locking and, for the set,
    // recovering the folder first); nullptr on failure (see message()) or when the wait for the
    // lock was given up (see cancelled()).
    FileSink* create(const std::string& name);
    // Syncs and closes every file and switches the set into place. proceed is asked once more
    // right before the point of no return; false from it cancels. False on failure or cancel.
    bool commit(const std::function<bool()>& proceed = {});
    // Records that the file name failed with ec, unless a failure is already recorded.
    void fail(const std::string& name, std::error_code ec, std::string_view action);
    // German text naming the file and the reason of the first failure; empty while none.
    const std::string& message() const { return m_message; }
    // The temporary file that will become dir/name (empty when there is none), to read back what
    // was written before the commit.
    std::filesystem::path temporaryPath(const std::string& name) const;
    // True when the lock wait or commit's proceed said stop.
    bool cancelled() const { return m_cancelled; }
    // What opening the folder recovered (empty before the first create()).
    const RecoveryReport& recovery() const { return m_recovery; }
    // Lets a test fail or interrupt single steps.
    void setStepHook(StepHook hook) { m_hook = std::move(hook); }

  private:
    struct Entry {
        std::string name;
        std::string temp;       // empty for a removed name and once renamed
        std::string backup;     // hard link to the earlier file, while the set commits
        bool removal = false;   // the switch removes name instead of replacing it
        bool switched = false;  // renamed (or removed) in this switch
        std::unique_ptr<FileSink> sink;
    };

    bool open();
    bool step(ReplacementStep step, const std::string& name, std::error_code& ec);
    void addRemovals();
    bool prepare(Entry& e);
    bool writeRecord(std::string& name, const std::string& text);
    bool switchAll();
    void undo(std::size_t switchedCount);
    void removeHelpers();

    std::filesystem::path m_dir;
    ReplacementScope m_scope;
    LockWait m_wait;
    std::optional<OutputFolder> m_folder;
    bool m_opened = false;
    std::error_code m_openError;
    RecoveryReport m_recovery;
    std::vector<Entry> m_entries;
    std::string m_record;       // the forward record, while it exists
    std::string m_undoText;     // the back record, formatted before the point of no return
    bool m_committing = false;  // between the forward record and the end of the switch
    bool m_leftForRecovery = false;
    bool m_cancelled = false;
    std::string m_message;
    StepHook m_hook;
};

}  // namespace kellvor

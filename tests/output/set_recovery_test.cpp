// Recovery of a folder: what a dead run left is finished or removed; whatever it cannot trust
// is reported and left alone.
#include "output/set_recovery.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <string>

#include "output/commit_record.h"
#include "output/file_names.h"
#include "output/output_messages.h"
#include "support/temp_folder.h"

namespace kellvor {
namespace {

namespace fs = std::filesystem;
using test::FolderContents;

const FolderContents kSet = {
    {kReportFileName, "report\n"}, {kTraceFileName, "trace\n"}, {kDrawingFileName, "drawing\n"}};

std::string helper(HelperKind kind, std::string_view target, std::uint64_t bits) {
    return helperName(kind, target, bits);
}

const std::string kRecord = helper(HelperKind::record, {}, 1);
const std::string kDrawingTmp = helper(HelperKind::temporary, kDrawingFileName, 2);
const std::string kDrawingOld = helper(HelperKind::backup, kDrawingFileName, 3);

// A record that would remove the drawing, were it followed.
std::string removingRecord() {
    return formatCommitRecord({SwitchDirection::forward, {{kDrawingFileName, "", kDrawingOld}}});
}

RecoveryReport recover(const fs::path& dir) {
    OutputFolder folder(dir);
    EXPECT_EQ(folder.lock({}), LockStatus::locked);
    return recoverFolder(folder);
}

// Something planted in the folder that recovery must report and leave exactly as it is.
struct TrustCase {
    const char* name;
    bool needsRoot;  // planting for another user needs root
    std::function<void(const fs::path& dir, const fs::path& victim)> plant;
    std::string_view reason;
};

void PrintTo(const TrustCase& c, std::ostream* os) {
    *os << c.name;
}

void chownToNobody(const fs::path& path) {
    ASSERT_EQ(::lchown(path.c_str(), 65534, 65534), 0) << path;
}

const TrustCase kTrustCases[] = {
    {"recordNamingAFileOutsideTheFolder", false,
     [](const fs::path& dir, const fs::path& victim) {
         test::writeTextFile(dir / kRecord, "kellvor-switch 1 forward\n" + victim.string() + " - " +
                                                kDrawingOld + "\nend\n");
     },
     output_messages::kRecordForeign},
    {"recordNamingAnotherFile", false,
     [](const fs::path& dir, const fs::path&) {
         test::writeTextFile(dir / kRecord, "kellvor-switch 1 forward\nnotes.txt - -\nend\n");
     },
     output_messages::kRecordForeign},
    {"recordThatIsALink", false,
     [](const fs::path& dir, const fs::path& victim) {
         test::writeTextFile(victim, removingRecord());
         fs::create_symlink(victim, dir / kRecord);
     },
     output_messages::kNotRegular},
    {"recordThatIsAPipe", false,
     [](const fs::path& dir, const fs::path&) {
         ASSERT_EQ(::mkfifo((dir / kRecord).c_str(), 0600), 0);
     },
     output_messages::kNotRegular},
    {"recordOfAnotherFormat", false,
     [](const fs::path& dir, const fs::path&) {
         test::writeTextFile(dir / kRecord, "switch everything\nend\n");
     },
     output_messages::kRecordMalformed},
    {"recordTooLarge", false,
     [](const fs::path& dir, const fs::path&) {
         test::writeTextFile(dir / kRecord, std::string(70000, '#') + "\nend\n");
     },
     output_messages::kRecordTooLarge},
    {"recordOfAnotherUser", true,
     [](const fs::path& dir, const fs::path&) {
         test::writeTextFile(dir / kRecord, removingRecord());
         chownToNobody(dir / kRecord);
     },
     output_messages::kOtherOwner},
    {"temporaryOfAnotherUser", true,
     [](const fs::path& dir, const fs::path& victim) {
         fs::create_symlink(victim, dir / kDrawingTmp);
         chownToNobody(dir / kDrawingTmp);
     },
     output_messages::kOtherOwner},
    {"temporaryThatIsAFolder", false,
     [](const fs::path& dir, const fs::path&) { fs::create_directory(dir / kDrawingTmp); },
     output_messages::kNotRegular},
};

class UntrustedHelper : public testing::TestWithParam<TrustCase> {};

TEST_P(UntrustedHelper, IsReportedAndLeftAlone) {
    const TrustCase& c = GetParam();
    if (c.needsRoot && ::geteuid() != 0)
        GTEST_SKIP() << "planting a file of another user needs root";
    test::TempFolder dir;
    test::TempFolder elsewhere;
    const fs::path victim = elsewhere.path() / "victim.txt";
    test::writeTextFile(victim, "precious\n");
    test::writeContents(dir.path(), kSet);
    c.plant(dir.path(), victim);
    const FolderContents before = test::folderContents(dir.path());
    const std::string victimBefore = test::readFileBytes(victim.string());

    const RecoveryReport report = recover(dir.path());
    EXPECT_TRUE(report.ok()) << report.error;
    EXPECT_FALSE(report.changed());
    ASSERT_EQ(report.leftAlone.size(), 1u) << describeRecovery(report, dir.path());
    EXPECT_NE(report.leftAlone[0].find(c.reason), std::string::npos) << report.leftAlone[0];
    EXPECT_EQ(test::folderContents(dir.path()), before);
    EXPECT_EQ(test::readFileBytes(victim.string()), victimBefore);
}

INSTANTIATE_TEST_SUITE_P(Cases, UntrustedHelper, testing::ValuesIn(kTrustCases),
                         [](const auto& row) { return std::string(row.param.name); });

// What a dead run left of its own goes: helpers of set files and a record it never finished;
// a name that only looks like a helper of some other file stays.
TEST(Recovery, RemovesOwnLeftoversOnly) {
    test::TempFolder dir;
    test::writeContents(dir.path(), kSet);
    const FolderContents set = test::folderContents(dir.path());
    const std::string notes = helper(HelperKind::temporary, "notes.txt", 4);
    test::writeTextFile(dir.path() / kDrawingTmp, "half a drawing");
    test::writeTextFile(dir.path() / kDrawingOld, "drawing\n");
    test::writeTextFile(dir.path() / notes, "not ours to judge");
    test::writeTextFile(dir.path() / kRecord, "kellvor-switch 1 forward\nzahnrad.dxf ");

    const RecoveryReport report = recover(dir.path());
    EXPECT_TRUE(report.ok() && report.leftAlone.empty()) << describeRecovery(report, dir.path());
    EXPECT_EQ(report.leftoversRemoved, 3);
    FolderContents expected = set;
    expected[notes] = "not ours to judge";
    EXPECT_EQ(test::folderContents(dir.path()), expected);
    EXPECT_EQ(describeRecovery(report, dir.path()),
              "In \"" + dir.path().string() +
                  "\": Übrig gebliebene Hilfsdateien abgebrochener Läufe entfernt: 3.");
    EXPECT_EQ(describeRecovery(recover(dir.path()), dir.path()),
              "In \"" + dir.path().string() + "\" gibt es nichts wiederherzustellen.");
}

// A run that died after its record: the temporaries that are left become their names (one was
// renamed already), the removed name goes, backups and record go.
TEST(Recovery, FinishesACommittedSwitch) {
    test::TempFolder dir;
    const std::string reportTmp = helper(HelperKind::temporary, kReportFileName, 5);
    const std::string traceTmp = helper(HelperKind::temporary, kTraceFileName, 6);
    const std::string jsonOld = helper(HelperKind::backup, kJsonFileName, 7);
    test::writeContents(dir.path(), {{kReportFileName, "old report"},
                                     {kTraceFileName, "new trace"},
                                     {kDrawingFileName, "old drawing"},
                                     {kJsonFileName, "old json"},
                                     {jsonOld, "old json"},
                                     {reportTmp, "new report"},
                                     {kDrawingTmp, "new drawing"},
                                     {kDrawingOld, "old drawing"}});
    test::writeTextFile(dir.path() / kRecord,
                        formatCommitRecord({SwitchDirection::forward,
                                            {{kReportFileName, reportTmp, ""},
                                             {kTraceFileName, traceTmp, ""},
                                             {kDrawingFileName, kDrawingTmp, kDrawingOld},
                                             {kJsonFileName, "", jsonOld}}}));
    const RecoveryReport report = recover(dir.path());
    EXPECT_TRUE(report.ok()) << report.error;
    EXPECT_EQ(report.filesForward, 2);
    EXPECT_EQ(test::folderContents(dir.path()),
              (FolderContents{{kReportFileName, "new report"},
                              {kTraceFileName, "new trace"},
                              {kDrawingFileName, "new drawing"}}));
}

// A run that died while it undid a failed switch: its back record decides over its forward
// record, the earlier files return and the name it had created goes.
TEST(Recovery, ABackRecordUndoesTheSwitch) {
    test::TempFolder dir;
    const std::string reportTmp = helper(HelperKind::temporary, kReportFileName, 5);
    const std::string reportOld = helper(HelperKind::backup, kReportFileName, 8);
    const std::string svgTmp = helper(HelperKind::temporary, kSvgFileName, 9);
    const CommitRecord forward{SwitchDirection::forward,
                               {{kSvgFileName, svgTmp, ""},
                                {kReportFileName, reportTmp, reportOld},
                                {kDrawingFileName, kDrawingTmp, kDrawingOld}}};
    CommitRecord back = forward;
    back.direction = SwitchDirection::back;
    test::writeContents(dir.path(), {{kSvgFileName, "new svg"},
                                     {kReportFileName, "new report"},
                                     {reportOld, "old report"},
                                     {kDrawingFileName, "old drawing"},
                                     {kDrawingOld, "old drawing"},
                                     {kDrawingTmp, "new drawing"}});
    test::writeTextFile(dir.path() / kRecord, formatCommitRecord(forward));
    test::writeTextFile(dir.path() / helper(HelperKind::record, {}, 10), formatCommitRecord(back));
    const RecoveryReport report = recover(dir.path());
    EXPECT_TRUE(report.ok()) << report.error;
    EXPECT_EQ(report.filesBack, 2);
    EXPECT_EQ(test::folderContents(dir.path()),
              (FolderContents{{kReportFileName, "old report"}, {kDrawingFileName, "old drawing"}}));
}

}  // namespace
}  // namespace kellvor

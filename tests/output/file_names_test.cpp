// Helper names and commit records: what a recovery recognises, and what it refuses.
#include "output/file_names.h"

#include <gtest/gtest.h>

#include <random>

#include "output/commit_record.h"

namespace kellvor {
namespace {

TEST(HelperNames, EveryNameOfEveryKindReadsBack) {
    std::mt19937_64 random(7);
    for (int i = 0; i < 1000; ++i) {
        const std::string_view target = kSetFileNames[static_cast<std::size_t>(i) % 11];
        for (const HelperKind kind :
             {HelperKind::temporary, HelperKind::backup, HelperKind::record}) {
            const std::string name = helperName(kind, target, random());
            const auto parsed = parseHelperName(name);
            ASSERT_TRUE(parsed) << name;
            EXPECT_EQ(parsed->kind, kind) << name;
            EXPECT_EQ(parsed->target, kind == HelperKind::record ? "" : target) << name;
            EXPECT_EQ(name.front(), '.');
        }
    }
    EXPECT_NE(helperName(HelperKind::temporary, "p.png", randomNameBits()),
              helperName(HelperKind::temporary, "p.png", randomNameBits()));
}

TEST(HelperNames, NearMissesAreNoHelpers) {
    for (const char* name :
         {"zahnrad.dxf", ".zahnrad.dxf.tmp-0123456789abcde", ".zahnrad.dxf.tmp-0123456789abcdef0",
          ".zahnrad.dxf.tmp-0123456789ABCDEF", "zahnrad.dxf.tmp-0123456789abcdef",
          ".zahnrad.dxf.bak-0123456789abcdef", ".zahnrad.dxf.tmp", ".tmp-0123456789abcdef",
          ".kellvor-switch-0123456789abcdeg", ".kellvor-switch-", "kellvor-switch-0123456789abcdef",
          ".zahnrad.dxf.tmp-12345-0"})
        EXPECT_FALSE(parseHelperName(name)) << name;
}

TEST(CommitRecords, EverySubsetOfTheSetReadsBack) {
    std::mt19937_64 random(11);
    for (int i = 0; i < 1000; ++i) {
        CommitRecord record;
        record.direction = i % 2 == 0 ? SwitchDirection::forward : SwitchDirection::back;
        for (const std::string_view target : kSetFileNames) {
            const auto choice = random() % 4;  // not in the switch, replaced, new, removed
            if (choice == 0)
                continue;
            SwitchEntry e{std::string(target), {}, {}};
            if (choice != 3)
                e.temporary = helperName(HelperKind::temporary, target, random());
            if (choice != 2)
                e.backup = helperName(HelperKind::backup, target, random());
            record.entries.push_back(e);
        }
        const ParsedRecord parsed = parseCommitRecord(formatCommitRecord(record));
        ASSERT_EQ(parsed.problem, RecordProblem::none);
        EXPECT_EQ(parsed.record.direction, record.direction);
        ASSERT_EQ(parsed.record.entries.size(), record.entries.size());
        for (std::size_t k = 0; k < record.entries.size(); ++k) {
            EXPECT_EQ(parsed.record.entries[k].target, record.entries[k].target);
            EXPECT_EQ(parsed.record.entries[k].temporary, record.entries[k].temporary);
            EXPECT_EQ(parsed.record.entries[k].backup, record.entries[k].backup);
        }
    }
}

TEST(CommitRecords, ForeignOrBrokenRecordsAreRefused) {
    const std::string tmp = ".zahnrad.dxf.tmp-0123456789abcdef";
    const std::string old = ".zahnrad.dxf.old-0123456789abcdef";
    const struct {
        std::string text;
        RecordProblem problem;
    } cases[] = {
        {"kellvor-switch 1 forward\nzahnrad.dxf " + tmp + " " + old + "\n",
         RecordProblem::incomplete},
        {"kellvor-switch 1 forward\nzahnrad.dxf " + tmp + " " + old + "\nen",
         RecordProblem::incomplete},
        {"", RecordProblem::incomplete},
        {"kellvor-switch 2 forward\nend\n", RecordProblem::malformed},
        {"kellvor-switch 1 forward\nzahnrad.dxf " + tmp + "\nend\n", RecordProblem::malformed},
        {"kellvor-switch 1 forward\nzahnrad.dxf " + tmp + " - x\nend\n", RecordProblem::malformed},
        {"kellvor-switch 1 forward\n../victim " + tmp + " -\nend\n", RecordProblem::foreignName},
        {"kellvor-switch 1 forward\n/etc/passwd - " + old + "\nend\n", RecordProblem::foreignName},
        {"kellvor-switch 1 forward\nnotes.txt - -\nend\n", RecordProblem::foreignName},
        {"kellvor-switch 1 forward\nzahnrad.txt " + tmp + " -\nend\n", RecordProblem::foreignName},
        {"kellvor-switch 1 back\nzahnrad.dxf " + old + " -\nend\n", RecordProblem::foreignName},
        {"kellvor-switch 1 forward\nzahnrad.dxf ../" + tmp + " -\nend\n",
         RecordProblem::foreignName},
        {"kellvor-switch 1 forward\nzahnrad.dxf " + tmp + " -\nzahnrad.dxf - " + old + "\nend\n",
         RecordProblem::foreignName},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseCommitRecord(c.text).problem, c.problem) << c.text;
}

}  // namespace
}  // namespace kellvor

// The independently computed findings and inspection dimensions of
// tests/data/assessment_reference.txt, and the findings of the C++ assessment in the same form.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "geometry/assessment.h"
#include "geometry/assessment_text.h"

namespace kellvor::test {

// A pair of the reference with its findings as sorted "code/level/gear" entries.
struct ReferencePair {
    std::string name;
    GearPairInput input;
    std::vector<std::string> findings;
};

// Where a finding starts: the input on the boundary, the value varied and which way it appears.
struct ReferenceBoundary {
    std::string name, code, level;
    int gear = 0;
    GearPairInput input;
    std::string varied;  // "x1", "x2" or "beta"
    int direction = 1;   // the finding appears when the varied value moves this way
};

struct AssessmentReference {
    std::map<std::string, double> values;  // "case quantity"
    std::vector<ReferencePair> pairs;
    std::vector<ReferenceBoundary> boundaries;

    const ReferencePair& pair(const std::string& name) const {
        return *std::find_if(pairs.begin(), pairs.end(),
                             [&](const ReferencePair& p) { return p.name == name; });
    }
};

inline std::vector<std::string> splitFindings(const std::string& list) {
    std::vector<std::string> out;
    if (list == "-")
        return out;
    std::istringstream in(list);
    std::string item;
    while (std::getline(in, item, ','))
        out.push_back(item);
    std::sort(out.begin(), out.end());
    return out;
}

inline const AssessmentReference& assessmentReference() {
    static const AssessmentReference ref = [] {
        AssessmentReference r;
        std::ifstream in(std::string(KELLVOR_TEST_DATA_DIR) + "/assessment_reference.txt");
        std::string line;
        while (std::getline(in, line)) {
            std::istringstream f(line);
            std::string kind, name;
            f >> kind >> name;
            GearPairInput input;
            if (kind == "value") {
                std::string key;
                double v = 0;
                f >> key >> v;
                r.values[name + " " + key] = v;
            } else if (kind == "findings") {
                std::string list;
                f >> input.z1 >> input.z2 >> input.mn >> input.beta >> input.x1 >> input.x2 >> list;
                r.pairs.push_back({name, input, splitFindings(list)});
            } else if (kind == "boundary") {
                ReferenceBoundary b;
                b.name = name;
                f >> b.code >> b.level >> b.gear >> b.input.z1 >> b.input.z2 >> b.input.mn >>
                    b.input.beta >> b.input.x1 >> b.input.x2 >> b.varied >> b.direction;
                r.boundaries.push_back(b);
            }
        }
        return r;
    }();
    return ref;
}

// One value of the reference, "case quantity"; NaN (and a test failure) when it is missing.
inline double referenceValue(const std::string& key) {
    const auto& values = assessmentReference().values;
    const auto it = values.find(key);
    EXPECT_NE(it, values.end()) << key;
    return it == values.end() ? std::nan("") : it->second;
}

// The C++ findings in the reference's form.
inline std::vector<std::string> findingsOf(const Assessment& a) {
    std::vector<std::string> out;
    for (const Finding& f : a.list())
        out.push_back(std::string(findingCodeName(f.code)) + "/" +
                      std::string(findingLevelName(f.level)) + "/" + std::to_string(f.gear));
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace kellvor::test

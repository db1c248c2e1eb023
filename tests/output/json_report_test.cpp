#include "output/json_report.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <set>
#include <string>

#include "geometry/assessment_text.h"

namespace kellvor {
namespace {

using nlohmann::json;

// v as it came back: a null stands for not-a-number.
void expectSameBits(const json& v, double expected, const std::string& what) {
    if (std::isnan(expected)) {
        EXPECT_TRUE(v.is_null()) << what;
        return;
    }
    ASSERT_TRUE(v.is_number()) << what << " " << v.dump();
    EXPECT_EQ(std::bit_cast<std::uint64_t>(v.get<double>()), std::bit_cast<std::uint64_t>(expected))
        << what << ": " << v.dump();
}

GearPairInput randomPair(std::uint64_t& state) {
    auto uniform = [&state](double lo, double hi) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return lo + (hi - lo) * static_cast<double>(state >> 11) * 0x1.0p-53;
    };
    return {static_cast<std::int32_t>(uniform(4, 300)),
            static_cast<std::int32_t>(uniform(4, 300)),
            uniform(0.5, 50),
            uniform(0.001, 500),
            uniform(0, 30),
            uniform(-0.5, 0.5),
            uniform(-0.5, 0.5),
            static_cast<std::int32_t>(uniform(0, 499))};
}

// Over random pairs (some without mesh) every real reads back to the very double written, the
// shape is the documented one and the findings are the assessment's.
TEST(FormatJsonReport, RealsRoundTripExactlyOverRandomPairs) {
    std::uint64_t state = 3;
    // Few teeth with the largest negative shifts have no working pressure angle.
    const GearPairInput noMesh{5, 6, 2, 10, 0, -0.5, -0.5, 10};
    ASSERT_TRUE(std::isnan(computeGearPairGeometry(noMesh).alphawt));
    for (int i = 0; i < 300; ++i) {
        const GearPairInput in = i == 0 ? noMesh : randomPair(state);
        const GearPairGeometry g = computeGearPairGeometry(in);
        const GearPairGeometry s = computeGearPairGeometry(swappedInput(in));
        const Assessment a = assessGearPair(in, g);
        const InspectionDimensions d = inspectGearPair(in, g, s, defaultBallDiameter(in.mn));
        const json doc = json::parse(formatJsonReport(in, g, a, d));

        EXPECT_EQ(doc["format"], "kellvor/1");
        EXPECT_EQ(doc["input"]["z1"], in.z1);
        EXPECT_EQ(doc["input"]["segments"], in.segmentCount);
        expectSameBits(doc["input"]["b"], in.b, "b");
        expectSameBits(doc["input"]["x2"], in.x2, "x2");
        for (const JsonGeometryKey& k : jsonGeometryKeys()) {
            const json& q = doc["geometry"][std::string(k.key)];
            EXPECT_EQ(q["unit"], k.unit) << k.key;
            expectSameBits(q["value"], k.value(in, g), std::string(k.key));
        }
        EXPECT_EQ(doc["geometry"]["base_above_usable"]["value"], g.baseAboveUsable);
        for (int n = 1; n <= 2; ++n) {
            const GearInspection& gi = d.gears[static_cast<std::size_t>(n - 1)];
            const std::string suffix = std::to_string(n);
            expectSameBits(doc["inspection"]["sn" + suffix], gi.sn, "sn");
            expectSameBits(doc["inspection"]["Wk" + suffix], gi.Wk, "Wk");
            expectSameBits(doc["inspection"]["Md" + suffix], gi.Md, "Md");
            EXPECT_EQ(doc["inspection"]["k" + suffix], gi.k);
        }
        expectSameBits(doc["inspection"]["DM"], d.DM, "DM");
        ASSERT_EQ(doc["findings"].size(), a.count);
        for (std::size_t f = 0; f < a.count; ++f) {
            const Finding& finding = a.findings[f];
            const json& item = doc["findings"][f];
            EXPECT_EQ(item["level"], findingLevelName(finding.level));
            EXPECT_EQ(item["code"], findingCodeName(finding.code));
            EXPECT_EQ(item["text"], findingText(finding));
            if (finding.gear == 0)
                EXPECT_TRUE(item["gear"].is_null());
            else
                EXPECT_EQ(item["gear"], finding.gear);
        }
        EXPECT_TRUE(doc["mesh"].is_null());
    }
}

// The members in the documented order; every geometry key once, in report order, with a unit
// of the documented set.
TEST(FormatJsonReport, ShapeAndKeys) {
    const GearPairInput in;
    const GearPairGeometry g = computeGearPairGeometry(in);
    const std::string text = formatJsonReport(in, g, defaultBallDiameter(in.mn));
    const nlohmann::ordered_json doc = nlohmann::ordered_json::parse(text);
    std::string members;
    for (const auto& [key, value] : doc.items())
        members += key + " ";
    EXPECT_EQ(members, "format input geometry findings inspection mesh ");
    std::string inputs;
    for (const auto& [key, value] : doc["input"].items())
        inputs += key + " ";
    EXPECT_EQ(inputs, "z1 z2 mn b beta x1 x2 segments ");
    std::string inspection;
    for (const auto& [key, value] : doc["inspection"].items())
        inspection += key + " ";
    EXPECT_EQ(inspection, "sn1 Wk1 k1 Md1 sn2 Wk2 k2 Md2 DM ");
    // 42 labelled report rows, the base/usable comparison and dNf.
    EXPECT_EQ(doc["geometry"].size(), 44u);
    std::set<std::string> units;
    for (const auto& [key, value] : doc["geometry"].items())
        units.insert(value["unit"].get<std::string>());
    EXPECT_EQ(units, (std::set<std::string>{"1", "deg", "mm", "rad"}));
    EXPECT_EQ(text.back(), '\n');
}

}  // namespace
}  // namespace kellvor

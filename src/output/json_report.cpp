#include "output/json_report.h"

#include <nlohmann/json.hpp>

#include "geometry/assessment_text.h"
#include "geometry/backlash.h"
#include "geometry/constants.h"

namespace kellvor {
namespace {

using Json = nlohmann::ordered_json;
using In = const GearPairInput&;
using Geo = const GearPairGeometry&;

// The report's rows in their order, each under its symbol in snake case; an angle the report
// gives in degrees and radians has a key for each.
constexpr JsonGeometryKey kGeometryKeys[] = {
    {"u", "1", [](In, Geo g) { return g.u; }},
    {"beta", "deg", [](In in, Geo) { return in.beta; }},
    {"beta_b_deg", "deg", [](In, Geo g) { return g.betab * kRadToDeg; }},
    {"beta_b_rad", "rad", [](In, Geo g) { return g.betab; }},
    {"b", "mm", [](In in, Geo) { return in.b; }},
    {"mn", "mm", [](In in, Geo) { return in.mn; }},
    {"mt", "mm", [](In, Geo g) { return g.mt; }},
    {"z1", "1", [](In in, Geo) { return static_cast<double>(in.z1); }},
    {"z2", "1", [](In in, Geo) { return static_cast<double>(in.z2); }},
    {"d1", "mm", [](In, Geo g) { return g.d1; }},
    {"d2", "mm", [](In, Geo g) { return g.d2; }},
    {"db1", "mm", [](In, Geo g) { return g.db1; }},
    {"db2", "mm", [](In, Geo g) { return g.db2; }},
    {"ad", "mm", [](In, Geo g) { return g.ad; }},
    {"a", "mm", [](In, Geo g) { return g.a; }},
    {"x_sum", "1", [](In, Geo g) { return g.xsum; }},
    {"x1", "1", [](In in, Geo) { return in.x1; }},
    {"x2", "1", [](In in, Geo) { return in.x2; }},
    {"dw1", "mm", [](In, Geo g) { return g.dw1; }},
    {"dw2", "mm", [](In, Geo g) { return g.dw2; }},
    {"da1", "mm", [](In, Geo g) { return g.da1; }},
    {"da2", "mm", [](In, Geo g) { return g.da2; }},
    {"df1", "mm", [](In, Geo g) { return g.df1; }},
    {"df2", "mm", [](In, Geo g) { return g.df2; }},
    {"alpha_n", "deg", [](In, Geo) { return 20.0; }},
    {"alpha_wn_deg", "deg", [](In, Geo g) { return g.alphawn * kRadToDeg; }},
    {"alpha_wn_rad", "rad", [](In, Geo g) { return g.alphawn; }},
    {"alpha_t_deg", "deg", [](In, Geo g) { return g.alphat * kRadToDeg; }},
    {"alpha_t_rad", "rad", [](In, Geo g) { return g.alphat; }},
    {"alpha_wt_deg", "deg", [](In, Geo g) { return g.alphawt * kRadToDeg; }},
    {"alpha_wt_rad", "rad", [](In, Geo g) { return g.alphawt; }},
    {"pt", "mm", [](In, Geo g) { return g.pt; }},
    {"pet", "mm", [](In, Geo g) { return g.pet; }},
    {"pn", "mm", [](In, Geo g) { return g.pn; }},
    {"pen", "mm", [](In, Geo g) { return g.pen; }},
    {"epsilon_alpha", "1", [](In, Geo g) { return g.epsilonalpha; }},
    {"epsilon_beta", "1", [](In, Geo g) { return g.epsilonbeta; }},
    {"k", "1", [](In, Geo g) { return g.k; }},
    {"a_control", "mm", [](In, Geo g) { return g.acontrol; }},
    {"involute_alpha_y", "rad", [](In, Geo g) { return g.involutalphay; }},
    {"involute_alpha_t", "rad", [](In, Geo g) { return g.involutalphat; }},
    {"involute_alpha_wt", "rad", [](In, Geo g) { return g.involutalphawt; }},
    {"d_nf", "mm", [](In, Geo g) { return g.dNf; }},
};

// A not-a-number double becomes null in the dump; so does a value the pair does not have.
Json quantity(double value, std::string_view unit) {
    Json q = Json::object();
    q["value"] = value;
    q["unit"] = unit;
    return q;
}

// The pair's mesh check, measured on the drawn outlines; null where the pair is not computed.
Json meshJson(const std::optional<MeshCheck>& mesh) {
    if (!mesh)
        return nullptr;
    Json m = Json::object();
    m["jn"] = mesh->jn;
    m["jt_soll"] = mesh->jtSoll;
    m["jt_min"] = mesh->jtMin;
    m["jt_max"] = mesh->jtMax;
    m["c1"] = mesh->c1;
    m["c2"] = mesh->c2;
    m["interference_phi1"] = mesh->interferencePhi1 ? Json(*mesh->interferencePhi1) : Json(nullptr);
    return m;
}

}  // namespace

std::span<const JsonGeometryKey> jsonGeometryKeys() {
    return kGeometryKeys;
}

std::string formatJsonReport(const GearPairInput& in, const GearPairGeometry& g,
                             const Assessment& assessment, const InspectionDimensions& inspection,
                             const std::optional<MeshCheck>& mesh) {
    Json doc = Json::object();
    doc["format"] = kJsonFormat;
    doc["input"] = {{"z1", in.z1},     {"z2", in.z2}, {"mn", in.mn}, {"b", in.b},
                    {"beta", in.beta}, {"x1", in.x1}, {"x2", in.x2}, {"segments", in.segmentCount}};

    Json geometry = Json::object();
    for (const JsonGeometryKey& k : kGeometryKeys) {
        geometry[std::string(k.key)] = quantity(k.value(in, g), k.unit);
        // The report's line between involutalphawt and dNf compares base and usable diameter.
        if (k.key == "involute_alpha_wt")
            geometry["base_above_usable"] = {{"value", g.baseAboveUsable}, {"unit", "1"}};
    }
    doc["geometry"] = std::move(geometry);

    Json findings = Json::array();
    for (const Finding& f : assessment.list()) {
        Json item = Json::object();
        item["level"] = findingLevelName(f.level);
        item["code"] = findingCodeName(f.code);
        item["gear"] = f.gear == 0 ? Json(nullptr) : Json(f.gear);
        item["text"] = findingText(f);
        findings.push_back(std::move(item));
    }
    doc["findings"] = std::move(findings);

    Json check = Json::object();
    for (int i = 0; i < 2; ++i) {
        const GearInspection& gi = inspection.gears[static_cast<std::size_t>(i)];
        const std::string n = std::to_string(i + 1);
        check["sn" + n] = gi.sn;
        check["Wk" + n] = gi.Wk;
        check["k" + n] = gi.k;
        check["Md" + n] = gi.Md;
    }
    check["DM"] = inspection.DM;
    doc["inspection"] = std::move(check);
    doc["mesh"] = meshJson(mesh);
    // Every text is ours and valid UTF-8; replacing instead of throwing keeps the dump total.
    return doc.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + '\n';
}

std::string formatJsonReport(const GearPairInput& input, const GearPairGeometry& geometry,
                             double DM, double jn, const std::optional<MeshCheck>& mesh) {
    const GearPairGeometry swapped = computeGearPairGeometry(swappedInput(input));
    return formatJsonReport(
        input, geometry, assessGearPair(input, geometry),
        inspectGearPair(input, geometry, swapped, DM, normalThicknessThinning(jn)), mesh);
}

}  // namespace kellvor

// A small reader of DXF text for the tests: group codes and values, the header variables, the
// layer table, every handle and the entities.
#pragma once

#include <cstdint>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace kellvor::test {

// One entity: its type and its group values in file order (code, text).
struct DxfEntityTags {
    std::string type;
    std::vector<std::pair<int, std::string>> tags;

    // The text of the first value with the code ("" when none).
    std::string value(int code) const {
        for (const auto& [c, v] : tags)
            if (c == code)
                return v;
        return {};
    }
    // The first value with the code as a number.
    double number(int code) const { return std::stod(value(code)); }
};

// What a test looks at of a DXF document.
struct ParsedDxf {
    bool wellFormed = true;  // code lines are numbers, in pairs
    std::map<std::string, std::vector<std::pair<int, std::string>>> header;  // $NAME -> values
    std::vector<std::string> layers;      // names in the LAYER table
    std::vector<std::string> handles;     // every group 5 value, in order
    std::vector<DxfEntityTags> entities;  // the ENTITIES section
};

inline ParsedDxf parseDxf(const std::string& text) {
    ParsedDxf out;
    std::istringstream in(text);
    std::vector<std::pair<int, std::string>> tags;
    for (std::string code, value; std::getline(in, code);) {
        if (!std::getline(in, value)) {
            out.wellFormed = false;
            break;
        }
        try {
            tags.emplace_back(std::stoi(code), value);
        } catch (...) {
            out.wellFormed = false;
        }
    }
    std::string section, table, variable;
    DxfEntityTags* entity = nullptr;
    bool inLayer = false;
    for (std::size_t i = 0; i < tags.size(); ++i) {
        const auto& [code, value] = tags[i];
        if (code == 5 && section != "HEADER")
            out.handles.push_back(value);
        if (code == 0) {
            entity = nullptr;
            inLayer = section == "TABLES" && value == "LAYER";
            if (value == "SECTION" && i + 1 < tags.size())
                section = tags[i + 1].second;
            else if (section == "ENTITIES" && value != "ENDSEC" && value != "EOF")
                entity = &out.entities.emplace_back(DxfEntityTags{value, {}});
            continue;
        }
        if (entity != nullptr)
            entity->tags.emplace_back(code, value);
        else if (section == "HEADER" && code == 9)
            variable = value;
        else if (section == "HEADER")
            out.header[variable].emplace_back(code, value);
        else if (inLayer && code == 2)
            out.layers.push_back(value);
    }
    return out;
}

}  // namespace kellvor::test

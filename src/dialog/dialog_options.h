// The dialog's advanced options, kept between runs.
#pragma once

#include <QString>

namespace kellvor {

// What the "Erweitert" group holds, as the file command will use it.
struct DialogOptions {
    QString folder;         // the output folder; empty means the current working directory
    bool expanded = false;  // whether the group is shown open
    QString backlash = QStringLiteral("0");  // normal backlash jn in mm, as typed
    bool pair = false;                       // also gear 2, the assembly and the mesh check
    bool json = false;                       // also zahnradwerte.json
    bool generatedRoot = false;  // the root the generating rack leaves, not the three-point arc
    bool svg = false;            // also the SVG drawings
    bool camDxf = false;  // drawings as closed polylines with bulges, not the minimal LINE/ARC

    friend bool operator==(const DialogOptions&, const DialogOptions&) = default;
};

// The options as QSettings keeps them; defaults where nothing is stored.
DialogOptions loadDialogOptions();

// Stores options in QSettings.
void saveDialogOptions(const DialogOptions& options);

}  // namespace kellvor

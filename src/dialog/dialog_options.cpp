#include "dialog/dialog_options.h"

#include <QSettings>

namespace kellvor {
namespace {

constexpr const char* kGroup = "optionen";

}  // namespace

DialogOptions loadDialogOptions() {
    QSettings settings;
    settings.beginGroup(kGroup);
    DialogOptions o;
    o.folder = settings.value("zielordner", QString()).toString();
    o.expanded = settings.value("erweitert", false).toBool();
    o.backlash = settings.value("flankenspiel", o.backlash).toString();
    o.pair = settings.value("zahnradpaar", false).toBool();
    o.json = settings.value("json", false).toBool();
    o.generatedRoot = settings.value("erzeugterfuss", false).toBool();
    o.svg = settings.value("svg", false).toBool();
    o.camDxf = settings.value("camdxf", false).toBool();
    return o;
}

void saveDialogOptions(const DialogOptions& o) {
    QSettings settings;
    settings.beginGroup(kGroup);
    settings.setValue("zielordner", o.folder);
    settings.setValue("erweitert", o.expanded);
    settings.setValue("flankenspiel", o.backlash);
    settings.setValue("zahnradpaar", o.pair);
    settings.setValue("json", o.json);
    settings.setValue("erzeugterfuss", o.generatedRoot);
    settings.setValue("svg", o.svg);
    settings.setValue("camdxf", o.camDxf);
}

}  // namespace kellvor

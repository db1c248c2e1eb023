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
    return o;
}

void saveDialogOptions(const DialogOptions& o) {
    QSettings settings;
    settings.beginGroup(kGroup);
    settings.setValue("zielordner", o.folder);
    settings.setValue("erweitert", o.expanded);
}

}  // namespace kellvor

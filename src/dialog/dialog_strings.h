// The fixed German texts of the dialog program: its string table.
#pragma once

namespace kellvor::strings {

// Caption of the main dialog and the About box.
inline constexpr char kCaption[] = "Kellvor";
// Heading above the entry fields.
inline constexpr char kEnterValues[] = "Zahnradwerte eingeben:";
// Label above the preview frame.
inline constexpr char kPreviewLabel[] = "Vorschau:";
// The three command buttons.
inline constexpr char kShowPreview[] = "Vorschau anzeigen";
inline constexpr char kWriteFiles[] = "DXF-Datei erzeugen";
inline constexpr char kQuit[] = "&Beenden";
// Menu entry that opens the About box.
inline constexpr char kAboutEntry[] = "Info über Kellvor";
// The lines of the About box and its button.
inline constexpr char kVersionLine[] = "Version " KELLVOR_VERSION;
inline constexpr char kAboutLine1[] =
    "Berechnung außenverzahnter Stirnradpaare mit Profilverschiebung";
inline constexpr char kAboutLine2[] =
    "Kontur von Zahnrad 1 als DXF-Zeichnung, Zahnradwerte als Textdatei, Vorschau im Dialog";
inline constexpr char kOk[] = "OK";
// Progress dialog of long commands.
inline constexpr char kWritingFiles[] = "Dateien werden geschrieben...";
inline constexpr char kDrawingPreview[] = "Vorschau wird berechnet...";
inline constexpr char kCancel[] = "Abbrechen";
// Status line after a command: the folder, then the files written.
inline constexpr char kFilesWrittenTo[] = "Dateien geschrieben in: ";
inline constexpr char kFilesWrittenList[] = " (%1)";
inline constexpr char kCommandFailed[] = "Fehlgeschlagen: ";
inline constexpr char kCancelledFiles[] = "Abgebrochen: die Dateien sind unverändert.";
inline constexpr char kCancelledPreview[] = "Abgebrochen: die Vorschau ist unverändert.";
// The message when the working folder cannot be found out.
inline constexpr char kNoWorkingFolder[] = "Der Arbeitsordner lässt sich nicht bestimmen.";
// Caption of the box that reports a file or fit error.
inline constexpr char kErrorCaption[] = "Fehler";
// The collapsible group of advanced options.
inline constexpr char kAdvanced[] = "Erweitert";
inline constexpr char kBacklashLabel[] = "Flankenspiel jn (mm):";
inline constexpr char kBacklashUnreadable[] =
    "Feld \"Flankenspiel jn\": Bitte eine Zahl eingeben (mit Dezimalkomma, z. B. 0,1).";
inline constexpr char kRootLabel[] = "Zahnfuß:";
inline constexpr char kRootThreePointArc[] = "Kreisbogen durch drei Punkte";
inline constexpr char kRootGenerated[] = "erzeugt (Bezugsprofil mit Kopfrundung)";
inline constexpr char kWriteSvg[] = "SVG-Zeichnungen (zahnrad.svg, …)";
inline constexpr char kWriteAlso[] = "Außerdem schreiben:";
inline constexpr char kWritePair[] = "Zahnrad 2, Zusammenbau und Eingriffsprüfung";
inline constexpr char kWriteJson[] = "JSON (zahnradwerte.json)";
inline constexpr char kCamDxf[] = "CAM-DXF (ersetzt das minimale zahnrad.dxf)";
inline constexpr char kFolderLabel[] = "Zielordner:";
inline constexpr char kCurrentFolder[] = "aktueller Arbeitsordner";
inline constexpr char kChooseFolder[] = "Zielordner…";
inline constexpr char kChooseFolderTitle[] = "Zielordner wählen";
inline constexpr char kDefaults[] = "Standardwerte";
// The findings under the buttons.
inline constexpr char kFindingsName[] = "Befunde";
inline constexpr char kNoFindings[] = "Keine Auffälligkeiten";
inline constexpr char kFindingsNeedValidFields[] =
    "Befunde erst, wenn alle Felder gültig sind (rot markierte berichtigen).";
// Tooltip of a field whose value is fine: its allowed range follows.
inline constexpr char kAllowedRange[] = "erlaubt: ";
// The button and menu entry that open the mesh window, and its caption.
inline constexpr char kMeshEntry[] = "Eingriff…";
inline constexpr char kMeshCaption[] = "Kellvor – Eingriff";
// The pair shown (z1, z2, mn, beta, x1, x2, elements, jn).
inline constexpr char kMeshValues[] =
    "z1 = %1, z2 = %2, mn = %3 mm, β = %4°, x1 = %5, x2 = %6, %7 Elemente, jn = %8 mm";
// The motion controls: play and pause, and the turn of gear 1 and gear 2.
inline constexpr char kMeshPlay[] = "Abspielen";
inline constexpr char kMeshPause[] = "Anhalten";
inline constexpr char kMeshTurn[] = "φ1 = %1°, φ2 = %2°";
// How to move the picture (tooltip) and what its marks mean.
inline constexpr char kMeshMouseHelp[] =
    "Mausrad: zoomen, Ziehen: verschieben, Doppelklick: beide Zahnräder einpassen";
inline constexpr char kMeshLegend[] =
    "Blau Zahnrad 1, rot Zahnrad 2, grau die Wälzkreise, grün die Eingriffslinie mit den "
    "Berührpunkten; rot gefüllt (zu klein zum Sehen: rot umkreist), wo sich die Zähne "
    "überdecken.";
// The mesh check beside the picture: heading, row labels and values.
inline constexpr char kMeshCheckHeading[] = "Eingriffsprüfung an den gezeichneten Konturen";
inline constexpr char kMeshCentreDistance[] = "Achsabstand a:";
inline constexpr char kMeshBacklash[] = "Flankenspiel jn:";
inline constexpr char kMeshJtSoll[] = "jt soll:";
inline constexpr char kMeshJtMin[] = "jt min:";
inline constexpr char kMeshJtMax[] = "jt max:";
inline constexpr char kMeshC1[] = "Kopfspiel c1:";
inline constexpr char kMeshC2[] = "Kopfspiel c2:";
inline constexpr char kMeshInterference[] = "Eingriffsstörung:";
inline constexpr char kMeshNoInterference[] = "keine";
inline constexpr char kMeshInterferenceFrom[] = "ab φ1 = %1°";
inline constexpr char kMeshNoFreeTurn[] = "in keiner Stellung frei";
inline constexpr char kMeshShowPlace[] = "Stelle zeigen";
inline constexpr char kMeshFindingsHeading[] = "Befunde aus den Verzahnungsgrößen";
inline constexpr char kMeshBusy[] = "Wird berechnet…";
inline constexpr char kMeshNeedsValidFields[] =
    "Der Eingriff folgt, sobald alle Felder gültig sind (rot markierte berichtigen).";

}  // namespace kellvor::strings

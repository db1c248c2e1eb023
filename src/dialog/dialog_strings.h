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
// Status line after a command.
inline constexpr char kFilesWrittenTo[] = "Dateien geschrieben in: ";
inline constexpr char kCancelledFiles[] = "Abgebrochen: die Dateien sind unverändert.";
inline constexpr char kCancelledPreview[] = "Abgebrochen: die Vorschau ist unverändert.";
// Start of the message when the working folder cannot be found out.
inline constexpr char kNoWorkingFolder[] = "Arbeitsordner nicht lesbar: ";
// Caption of the box that reports a file or fit error.
inline constexpr char kErrorCaption[] = "Fehler";

}  // namespace kellvor::strings

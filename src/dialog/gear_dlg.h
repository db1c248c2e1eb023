// The main dialog: the eight entered values, the preview frame and the three commands.
#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "commands/command_result.h"
#include "geometry/field_exchange.h"
#include "geometry/gear_pair_input.h"
#include "geometry/input_fields.h"
#include "outline/generated_root.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace kellvor {

class FindingsList;
class MeshWindow;
class OptionsPanel;
class PreviewFrame;
class PreviewScheduler;

// When the progress dialog of a long command appears and how often events are served meanwhile.
struct ProgressTiming {
    int showAfterMs = 500;  // a command that ends sooner shows no progress dialog
    int eventEveryMs = 50;  // the window is kept alive at this rate while the dialog is up
};

// Pixel size of the preview frame's client area.
inline constexpr int kPreviewWidth = 208;
inline constexpr int kPreviewHeight = 194;

// The program's main window. It owns the entered values.
class CGearDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CGearDlg(QWidget* parent = nullptr);

    // The values as the last successful or partial exchange left them.
    const GearPairInput& values() const { return m_input; }

    // The entry field of an exchange step (0 = z1, in tab order), the frame and the status line.
    QLineEdit* field(std::size_t step) const { return m_fields[step]; }
    PreviewFrame* previewFrame() const { return m_preview; }
    QLabel* statusLine() const { return m_status; }
    OptionsPanel* optionsPanel() const { return m_options; }
    FindingsList* findingsList() const { return m_findings; }
    PreviewScheduler* previewScheduler() const { return m_scheduler; }
    // The mesh window, nullptr until "Eingriff…" first opens it.
    MeshWindow* meshWindow() const { return m_mesh; }

    // Whether a field's text is refused as it stands (it shows a red frame then).
    bool fieldRefused(std::size_t step) const;

    // Changes when the progress dialog appears (tests show it at once).
    void setProgressTiming(ProgressTiming timing) { m_timing = timing; }

    // Reads the fields into the values; on failure shows the field's message, focuses it and
    // returns false (fields before it are stored, fields after it are not).
    bool readFields();

  public slots:
    // "DXF-Datei erzeugen": the files into the output folder (the current working directory
    // unless another is chosen).
    void OnWriteFiles();
    // "Vorschau anzeigen": the outline of gear 1 into the preview frame.
    void OnShowPreview();
    // "&Beenden": closes without reading the fields.
    void OnQuit();
    // Opens the About box.
    void OnAbout();
    // "Eingriff…": opens the mesh window, which follows the values from then on.
    void OnShowMesh();
    // Enter in a field: checks the fields and, when all are valid, draws the preview; the
    // dialog stays open.
    void accept() override;

  signals:
    // All eight values are valid after a change: the pair and the normal backlash jn (mm).
    void pairChanged(const kellvor::GearPairInput& input, double backlash);

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void buildLayout();
    void writeFields();
    // The texts of the fields.
    FieldTexts fieldTexts() const;
    // Checks one field as it is typed: red frame and tooltip when refused, and when all fields
    // are valid the preview is redrawn after a pause.
    void checkField(std::size_t step);
    // The values in the fields when all eight are valid (exchange and range test).
    std::optional<GearPairInput> liveValues() const;
    // How the tooth gaps are closed, as the options say.
    RootForm rootForm() const;
    // The backlash typed in the options when it can be read.
    std::optional<double> typedBacklash() const;
    // Checks the backlash against mn: red frame and tooltip when refused.
    bool checkBacklash();
    // After any change: the findings follow at once, the preview after a pause.
    void valuesChanged();
    // Marks a field refused (with the message as tooltip) or valid (with its range as tooltip).
    void markField(std::size_t step, const std::optional<std::string>& refusal);
    // Shows one line in the status line, elided in the middle when too long.
    void setStatus(const QString& line);
    // The backlash typed in the options; when it cannot be read, says so in a box, focuses the
    // field and gives nothing.
    std::optional<double> readBacklash();
    // Shows the warning of a failed range test once, with the field and its range.
    void showRangeWarning(const CommandResult& result);
    // Shows a file or fit error.
    void showError(const CommandResult& result);
    // Tells the user why a command did not succeed; a cancel shows cancelledStatus as status.
    void reportFailure(const CommandResult& result, std::string_view cancelledStatus);
    // Runs work with a progress callback that opens a progress dialog once it takes long.
    CommandResult runWithProgress(
        const QString& label, const std::function<CommandResult(const ProgressCallback&)>& work);

    GearPairInput m_input;
    ProgressTiming m_timing;
    OptionsPanel* m_options = nullptr;
    FindingsList* m_findings = nullptr;
    PreviewScheduler* m_scheduler = nullptr;
    bool m_busy = false;
    std::array<QLineEdit*, kFieldCount> m_fields{};
    PreviewFrame* m_preview = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_previewButton = nullptr;
    QPushButton* m_writeButton = nullptr;
    QPushButton* m_quitButton = nullptr;
    QPushButton* m_meshButton = nullptr;
    MeshWindow* m_mesh = nullptr;
};

}  // namespace kellvor

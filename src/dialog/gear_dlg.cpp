#include "dialog/gear_dlg.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QGridLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <filesystem>
#include <iostream>
#include <memory>
#include <system_error>
#include <vector>

#include "commands/command_messages.h"
#include "commands/file_command.h"
#include "commands/preview_command.h"
#include "dialog/dialog_strings.h"
#include "dialog/findings_list.h"
#include "dialog/info_dlg.h"
#include "dialog/mesh_window.h"
#include "dialog/options_panel.h"
#include "dialog/preview_frame.h"
#include "dialog/preview_scheduler.h"
#include "geometry/assessment.h"
#include "geometry/backlash.h"
#include "geometry/input_validation.h"
#include "geometry/number_parse.h"

// The icons live in a resource compiled into this static library; registering it by name keeps
// the linker from dropping it. The macro must be used outside any namespace.
static void registerKellvorResources() {
    Q_INIT_RESOURCE(kellvor);
}

namespace kellvor {
namespace {

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

QString text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QIcon programIcon() {
    registerKellvorResources();
    QIcon icon;
    icon.addFile(QStringLiteral(":/kellvor/kellvor-16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/kellvor/kellvor-32.png"), QSize(32, 32));
    return icon;
}

// The dialog reads and writes its fields with the German decimal comma ("8,5"; "8.5" is read as
// well) and writes the numbers of its messages the same way.
constexpr FieldFormat kFieldFormat{DecimalMark::comma};

// A refused field gets a red frame: a dynamic property selected by the dialog's style sheet.
constexpr const char* kRefusedProperty = "kellvorRefused";
constexpr const char* kRefusedStyle =
    "QLineEdit[kellvorRefused=\"true\"] { border: 2px solid #d00000; }";

QPushButton* commandButton(const char* caption, QWidget* parent) {
    auto* button = new QPushButton(text(caption), parent);
    // None of the buttons is a default button: Enter keeps its dialog meaning (see keyPressEvent).
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

}  // namespace

CGearDlg::CGearDlg(QWidget* parent) : QDialog(parent) {
    // A top-level window of its own (own taskbar entry) with a close box but no minimise or
    // maximise box; the fixed-size layout keeps it from being resized.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowTitle(text(strings::kCaption));
    setWindowIcon(programIcon());
    buildLayout();

    auto* mesh = new QAction(text(strings::kMeshEntry), this);
    connect(mesh, &QAction::triggered, this, &CGearDlg::OnShowMesh);
    addAction(mesh);
    auto* about = new QAction(text(strings::kAboutEntry), this);
    about->setShortcut(QKeySequence(Qt::Key_F1));
    about->setShortcutContext(Qt::WindowShortcut);
    connect(about, &QAction::triggered, this, &CGearDlg::OnAbout);
    addAction(about);
    setContextMenuPolicy(Qt::ActionsContextMenu);

    setStyleSheet(QString::fromLatin1(kRefusedStyle));
    m_scheduler = new PreviewScheduler(this);
    connect(m_scheduler, &PreviewScheduler::pictureReady, this,
            [this](const RgbImage& image) { m_preview->setPicture(image); });
    for (std::size_t i = 0; i < kFieldCount; ++i)
        connect(m_fields[i], &QLineEdit::textEdited, this, [this, i] { checkField(i); });

    connect(m_previewButton, &QPushButton::clicked, this, &CGearDlg::OnShowPreview);
    connect(m_writeButton, &QPushButton::clicked, this, &CGearDlg::OnWriteFiles);
    connect(m_quitButton, &QPushButton::clicked, this, &CGearDlg::OnQuit);
    connect(m_meshButton, &QPushButton::clicked, this, &CGearDlg::OnShowMesh);

    m_input = GearPairInput{};  // the initial values 17, 40, 8, 45, 20, 0, 0, 10
    writeFields();
    for (std::size_t i = 0; i < kFieldCount; ++i)
        markField(i, std::nullopt);
    valuesChanged();
    m_fields[0]->setFocus(Qt::OtherFocusReason);
}

void CGearDlg::buildLayout() {
    auto* grid = new QGridLayout(this);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    grid->setColumnMinimumWidth(2, 16);  // gap between the fields and the preview

    grid->addWidget(new QLabel(text(strings::kEnterValues), this), 0, 0, 1, 2);
    grid->addWidget(new QLabel(text(strings::kPreviewLabel), this), 0, 3);

    const int fieldWidth = fontMetrics().horizontalAdvance(QStringLiteral("0000000000000")) + 12;
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        const int row = static_cast<int>(i) + 1;
        auto* label = new QLabel(text(inputFields()[i].label), this);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        // The long label of the element count wraps, as wide as its longer second line.
        if (inputFields()[i].field == InputField::segmentCount) {
            label->setWordWrap(true);
            label->setFixedWidth(
                label->fontMetrics().horizontalAdvance(QStringLiteral("innerhalb der Evolvente:")) +
                4);
        }
        auto* field = new QLineEdit(this);
        field->setFixedWidth(fieldWidth);
        label->setBuddy(field);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
        m_fields[i] = field;
    }
    m_preview = new PreviewFrame(kPreviewWidth, kPreviewHeight, this);
    m_preview->setFocusPolicy(Qt::NoFocus);
    grid->addWidget(m_preview, 1, 3, 5, 1, Qt::AlignLeft | Qt::AlignTop);
    // The eight rows are evenly spaced, five of them beside the preview and three beside the
    // buttons, as in the classic template.
    const int rowHeight = (m_preview->height() - 4 * grid->verticalSpacing()) / 5;
    for (int row = 1; row <= 8; ++row)
        grid->setRowMinimumHeight(row, rowHeight);

    m_previewButton = commandButton(strings::kShowPreview, this);
    m_writeButton = commandButton(strings::kWriteFiles, this);
    m_quitButton = commandButton(strings::kQuit, this);
    const int buttonWidth = m_preview->width() * 4 / 5;
    int row = 6;
    for (QPushButton* button : {m_previewButton, m_writeButton, m_quitButton}) {
        button->setMinimumWidth(buttonWidth);
        grid->addWidget(button, row++, 3, Qt::AlignHCenter);
    }
    // The tab order runs through the fields in exchange order, then through the buttons.
    std::vector<QWidget*> chain(m_fields.begin(), m_fields.end());
    chain.insert(chain.end(), {m_previewButton, m_writeButton, m_quitButton});
    for (std::size_t i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);

    // The findings under the buttons, as wide as the preview.
    m_findings = new FindingsList(this);
    m_findings->setFixedWidth(m_preview->width());
    m_findings->setMinimumHeight(fontMetrics().height() * 6);
    // "Eingriff…" opens the mesh window; it stands under the three buttons, above the findings.
    m_meshButton = commandButton(strings::kMeshEntry, this);
    m_meshButton->setMinimumWidth(buttonWidth);
    auto* underButtons = new QVBoxLayout;
    underButtons->addWidget(m_meshButton, 0, Qt::AlignHCenter);
    underButtons->addWidget(m_findings);
    grid->addLayout(underButtons, 9, 3, Qt::AlignTop);

    // The advanced options under the fields; the tab order goes on into them.
    m_options = new OptionsPanel(this);
    grid->addWidget(m_options, 9, 0, 1, 2, Qt::AlignLeft | Qt::AlignTop);
    setTabOrder(m_quitButton, static_cast<QWidget*>(m_options->toggle()));
    connect(m_options->backlashField(), &QLineEdit::textEdited, this, [this] { valuesChanged(); });
    // The root form changes the outline: the preview follows it.
    connect(m_options->rootChoice(), &QComboBox::currentIndexChanged, this,
            [this] { valuesChanged(); });
    setTabOrder(m_quitButton, m_meshButton);  // "Eingriff…" right after "&Beenden"

    // One line below everything that tells where the last files went or what failed; long
    // folders are elided.
    m_status = new QLabel(this);
    m_status->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    m_status->setMinimumHeight(fontMetrics().height());
    grid->addWidget(m_status, 10, 0, 1, 4);
}

void CGearDlg::writeFields() {
    const FieldTexts texts = formatFields(m_input, kFieldFormat);
    for (std::size_t i = 0; i < kFieldCount; ++i)
        m_fields[i]->setText(QString::fromStdString(texts[i]));
}

FieldTexts CGearDlg::fieldTexts() const {
    FieldTexts texts;
    for (std::size_t i = 0; i < kFieldCount; ++i)
        texts[i] = m_fields[i]->text().toStdString();
    return texts;
}

bool CGearDlg::fieldRefused(std::size_t step) const {
    return m_fields[step]->property(kRefusedProperty).toBool();
}

void CGearDlg::markField(std::size_t step, const std::optional<std::string>& refusal) {
    QLineEdit* field = m_fields[step];
    if (fieldRefused(step) != refusal.has_value()) {
        field->setProperty(kRefusedProperty, refusal.has_value());
        // A dynamic property takes effect in the style sheet only after a new polish.
        field->style()->unpolish(field);
        field->style()->polish(field);
        field->update();
    }
    const InputFieldEntry& entry = inputFields()[step];
    field->setToolTip(refusal ? text(*refusal)
                              : text(strings::kAllowedRange) +
                                    text(rangeText(entry, entry.allowed, kFieldFormat.mark)));
}

void CGearDlg::checkField(std::size_t step) {
    markField(step, checkFieldText(step, m_fields[step]->text().toStdString(), kFieldFormat));
    valuesChanged();
}

std::optional<GearPairInput> CGearDlg::liveValues() const {
    for (std::size_t i = 0; i < kFieldCount; ++i)
        if (fieldRefused(i))
            return std::nullopt;
    GearPairInput input = m_input;
    if (exchangeFields(fieldTexts(), input, kFieldFormat) || !validateInput(input))
        return std::nullopt;
    return input;
}

RootForm CGearDlg::rootForm() const {
    return m_options->options().generatedRoot ? RootForm::generated : RootForm::threePointArc;
}

std::optional<double> CGearDlg::typedBacklash() const {
    const auto jn =
        parseReal(m_options->backlashField()->text().toStdString(), kFieldFormat.syntax());
    return jn ? std::optional<double>(jn.value) : std::nullopt;
}

bool CGearDlg::checkBacklash() {
    QLineEdit* field = m_options->backlashField();
    const std::optional<GearPairInput> values = liveValues();
    const double mn = values ? values->mn : m_input.mn;
    const std::optional<double> jn = typedBacklash();
    const bool refused = !jn || !backlashInRange(*jn, mn);
    if (field->property(kRefusedProperty).toBool() != refused) {
        field->setProperty(kRefusedProperty, refused);
        field->style()->unpolish(field);
        field->style()->polish(field);
        field->update();
    }
    // The message's second line names the field and its range for this module.
    field->setToolTip(text(messages::backlashOutOfRange(jn.value_or(0), mn, kFieldFormat.mark))
                          .section(QLatin1Char('\n'), 1));
    return !refused;
}

void CGearDlg::valuesChanged() {
    // Judging a pair takes a microsecond: the findings follow every keystroke directly.
    const std::optional<GearPairInput> values = liveValues();
    const bool backlashValid = checkBacklash();
    if (values) {
        m_findings->showAssessment(assessGearPair(*values));
        // The mesh window follows the values with the backlash the options give.
        if (backlashValid)
            emit pairChanged(*values, typedBacklash().value_or(0.0));
    } else
        m_findings->showRefusedFields();
    // A picture of values that are no longer in the fields is never shown.
    if (!values || !backlashValid) {
        m_scheduler->cancel();
        return;
    }
    // All values are valid: the preview follows them after a pause in typing, drawn on a worker
    // thread so that typing never waits for it.
    const QSize size = m_preview->deviceClientSize();
    m_scheduler->request(PreviewRequest{*values, size.width(), size.height(),
                                        typedBacklash().value_or(0.0), false, rootForm()});
}

bool CGearDlg::readFields() {
    const auto error = exchangeFields(fieldTexts(), m_input, kFieldFormat);
    if (!error)
        return true;
    QMessageBox box(QMessageBox::Warning, text(strings::kCaption), text(error->message),
                    QMessageBox::Ok, this);
    box.exec();
    // The window manager gives the activation back on its own; some platforms do not.
    activateWindow();
    QLineEdit* field = m_fields[error->step];
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
    return false;
}

std::optional<double> CGearDlg::readBacklash() {
    if (const std::optional<double> jn = typedBacklash())
        return jn;
    // A backlash that cannot be read is named like a field; its range is the command's to test.
    QMessageBox box(QMessageBox::Warning, text(strings::kCaption),
                    text(strings::kBacklashUnreadable), QMessageBox::Ok, this);
    box.exec();
    m_options->setExpanded(true);
    m_options->backlashField()->setFocus(Qt::OtherFocusReason);
    m_options->backlashField()->selectAll();
    return std::nullopt;
}

void CGearDlg::showRangeWarning(const CommandResult& result) {
    // The plain box of the range test: its text and caption, an OK button and no icon.
    QMessageBox box(QMessageBox::NoIcon, text(kRangeWarningCaption), text(kRangeWarningText),
                    QMessageBox::Ok, this);
    if (result.violation)
        box.setInformativeText(text(describeRangeViolation(*result.violation, kFieldFormat.mark)));
    else
        box.setInformativeText(text(result.message));
    box.exec();
}

void CGearDlg::showError(const CommandResult& result) {
    QMessageBox box(QMessageBox::Critical, text(strings::kErrorCaption), text(result.message),
                    QMessageBox::Ok, this);
    box.exec();
}

void CGearDlg::reportFailure(const CommandResult& result, std::string_view cancelledStatus) {
    // The status line never keeps an older success after a command that failed.
    if (result.status != CommandStatus::cancelled && result.status != CommandStatus::ok)
        setStatus(text(strings::kCommandFailed) +
                  text(result.message).section(QLatin1Char('\n'), 0, 0));
    switch (result.status) {
        case CommandStatus::ok:
            break;
        case CommandStatus::outOfRange:
        case CommandStatus::notDrawable:
            showRangeWarning(result);
            break;
        case CommandStatus::cancelled:
            setStatus(text(cancelledStatus));
            break;
        case CommandStatus::fitFailed:
        case CommandStatus::fileError:
            showError(result);
            break;
    }
}

void CGearDlg::setStatus(const QString& line) {
    m_status->setToolTip(line);
    m_status->setText(
        m_status->fontMetrics().elidedText(line, Qt::ElideMiddle, qMax(m_status->width(), 1)));
}

CommandResult CGearDlg::runWithProgress(
    const QString& label, const std::function<CommandResult(const ProgressCallback&)>& work) {
    // The command is started from the window's thread and returns here when it is done (the file
    // command itself formats the trace and writes the drawing on threads of its own); the
    // console stream has one user and nothing of the dialog needs a lock. While a command
    // takes long, a modal progress dialog blocks every other input to this window, and events
    // are served from the progress callback at a bounded rate so that it paints and can cancel.
    QElapsedTimer clock;
    clock.start();
    std::unique_ptr<QProgressDialog> dialog;
    qint64 lastServed = 0;
    const ProgressCallback progress = [&](std::int64_t done, std::int64_t total) {
        const qint64 now = clock.elapsed();
        if (!dialog) {
            if (now < m_timing.showAfterMs)
                return true;
            dialog =
                std::make_unique<QProgressDialog>(label, text(strings::kCancel), 0, 1000, this);
            dialog->setWindowTitle(text(strings::kCaption));
            dialog->setWindowModality(Qt::WindowModal);
            dialog->setMinimumDuration(0);
            dialog->setAutoClose(false);
            dialog->setAutoReset(false);
            dialog->show();
            lastServed = now - m_timing.eventEveryMs;
        }
        if (now - lastServed >= m_timing.eventEveryMs) {
            lastServed = now;
            // 0 of 0 counts no step (the command waits for another run's folder): the bar
            // stays, the events are served so that "Abbrechen" works.
            if (total > 0)
                dialog->setValue(static_cast<int>(static_cast<double>(done) /
                                                  static_cast<double>(total) * 1000.0));
            QCoreApplication::processEvents();
        }
        return !dialog->wasCanceled();
    };
    m_busy = true;
    CommandResult result = work(progress);
    m_busy = false;
    return result;
}

void CGearDlg::OnWriteFiles() {
    // A failed exchange ends the command: nothing is computed or written with values that are
    // not what the fields show.
    if (m_busy || !readFields())
        return;
    const QString folder = m_options->outputFolder();
    if (folder.isEmpty()) {
        showError(failure(CommandStatus::fileError, strings::kNoWorkingFolder));
        return;
    }
    const std::optional<double> backlash = readBacklash();
    if (!backlash)
        return;
    const std::filesystem::path dir = folder.toStdString();
    FileRequest request;
    request.input = m_input;
    request.backlash = *backlash;
    request.pair = m_options->options().pair;
    request.json = m_options->options().json;
    request.root = rootForm();
    request.svg = m_options->options().svg;
    request.dxfStyle = m_options->options().camDxf ? DxfStyle::cam : DxfStyle::minimal;
    // Every drawing the dialog writes is read back and checked before it replaces the old one.
    request.verify = true;
    const CommandResult result =
        runWithProgress(text(strings::kWritingFiles), [&](const ProgressCallback& progress) {
            return runFileCommand(request, dir, std::cout, progress);
        });
    if (result.status == CommandStatus::ok) {
        QStringList written;
        for (const std::string& name : result.files)
            written << QString::fromStdString(name);
        setStatus(text(strings::kFilesWrittenTo) + QDir::toNativeSeparators(folder) +
                  text(strings::kFilesWrittenList).arg(written.join(QStringLiteral(", "))));
    } else {
        reportFailure(result, strings::kCancelledFiles);
    }
}

void CGearDlg::OnShowPreview() {
    if (m_busy || !readFields())
        return;
    const std::optional<double> backlash = readBacklash();
    if (!backlash)
        return;
    // Drawn in device pixels, so that a scaled display shows it as sharp as the window.
    const QSize size = m_preview->deviceClientSize();
    const PreviewRequest request{m_input,   size.width(), size.height(),
                                 *backlash, false,        rootForm()};
    // The picture of these values replaces whatever a live preview is still drawing.
    m_scheduler->cancel();
    PreviewResult preview;
    const CommandResult result =
        runWithProgress(text(strings::kDrawingPreview), [&](const ProgressCallback& progress) {
            preview = runPreviewCommand(request, std::cout, progress);
            return preview.result;
        });
    // Only a finished picture replaces the one shown; every failure leaves it as it was.
    if (result.status == CommandStatus::ok) {
        m_preview->setPicture(preview.image);
    } else {
        reportFailure(result, strings::kCancelledPreview);
    }
}

void CGearDlg::OnQuit() {
    reject();
}

void CGearDlg::OnAbout() {
    CInfoDlg info(this);
    info.exec();
}

void CGearDlg::OnShowMesh() {
    if (m_mesh == nullptr) {
        m_mesh = new MeshWindow(this);
        connect(this, &CGearDlg::pairChanged, m_mesh, &MeshWindow::setPair);
    }
    valuesChanged();  // hands the values in the fields to the window when all are valid
    m_mesh->show();
    m_mesh->raise();
    m_mesh->activateWindow();
}

void CGearDlg::accept() {
    // Enter confirms the value just typed, as engineers press it after every value: it never
    // closes the window, which would lose all eight values without a question.
    if (m_busy)
        return;
    std::optional<std::size_t> firstRefused;
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        markField(i, checkFieldText(i, m_fields[i]->text().toStdString(), kFieldFormat));
        if (fieldRefused(i) && !firstRefused)
            firstRefused = i;
    }
    if (firstRefused) {
        m_fields[*firstRefused]->setFocus(Qt::OtherFocusReason);
        return;
    }
    OnShowPreview();
}

void CGearDlg::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool plain = event->modifiers() == Qt::NoModifier ||
                       (event->modifiers() == Qt::KeypadModifier && event->key() == Qt::Key_Enter);
    if (enter && plain) {
        // As in a classic dialog, Enter on a focused button presses that button; anywhere else
        // it confirms the values and draws the preview (see accept()).
        if (auto* button = qobject_cast<QPushButton*>(focusWidget()); button && button->isEnabled())
            button->click();
        else
            accept();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);  // Escape closes as cancelled
}

}  // namespace kellvor

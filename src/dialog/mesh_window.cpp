#include "dialog/mesh_window.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QVBoxLayout>
#include <cmath>

#include "commands/command_messages.h"
#include "dialog/dialog_strings.h"
#include "dialog/findings_list.h"
#include "dialog/mesh_canvas.h"
#include "geometry/real_format.h"

namespace kellvor {
namespace {

// Gear 1 turns by one pitch in this many seconds, whatever its tooth count: the teeth move
// through the mesh at the same pace for a pinion of 12 teeth and a wheel of 200.
constexpr double kSecondsPerPitch = 2.0;
// Frame interval of the turning in milliseconds (the screen paints when it is ready).
constexpr int kFrameMs = 15;
// Width of the column beside the picture in logical pixels.
constexpr int kPanelWidth = 330;

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// v with six significant digits, as eingriff.txt writes it, with the dialog's decimal comma.
QString decimal(double v) {
    std::string digits;
    appendReal(digits, v, 6);
    return QString::fromStdString(digits).replace(QLatin1Char('.'), QLatin1Char(','));
}

QString millimetres(double v) {
    return decimal(v) + QStringLiteral(" mm");
}

// A value label of the check, found by its object name.
QLabel* valueLabel(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

bool samePair(const GearPairInput& p, const GearPairInput& q) {
    return p.z1 == q.z1 && p.z2 == q.z2 && p.mn == q.mn && p.b == q.b && p.beta == q.beta &&
           p.x1 == q.x1 && p.x2 == q.x2 && p.segmentCount == q.segmentCount;
}

}  // namespace

MeshWindow::MeshWindow(QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_newest(std::make_shared<std::atomic<std::uint64_t>>(0)),
      m_running(std::make_shared<std::atomic<int>>(0)) {
    setWindowTitle(text(strings::kMeshCaption));
    m_canvas = new MeshCanvas(this);
    m_canvas->setToolTip(text(strings::kMeshMouseHelp));
    m_values = new QLabel(this);
    m_values->setWordWrap(true);

    m_play = new QPushButton(style()->standardIcon(QStyle::SP_MediaPlay), text(strings::kMeshPlay),
                             this);
    m_play->setAutoDefault(false);
    m_slider = new QSlider(Qt::Horizontal, this);
    m_slider->setRange(0, 360 * kSliderStepsPerDegree);
    m_turn = new QLabel(this);
    m_turn->setMinimumWidth(
        m_turn->fontMetrics().horizontalAdvance(QStringLiteral("φ1 = 000,000°, φ2 = -000,000°")));
    auto* controls = new QHBoxLayout;
    controls->addWidget(m_play);
    controls->addWidget(m_slider, 1);
    controls->addWidget(m_turn);

    auto* left = new QVBoxLayout;
    left->addWidget(m_values);
    left->addWidget(m_canvas, 1);
    left->addLayout(controls);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addWidget(buildCheckPanel());
    resize(1000, 680);

    connect(m_play, &QPushButton::clicked, this, [this] { setPlaying(!playing()); });
    connect(m_slider, &QSlider::valueChanged, this,
            [this](int value) { setPhi1(static_cast<double>(value) / kSliderStepsPerDegree); });
    // Taking the slider stops the turning.
    connect(m_slider, &QSlider::sliderPressed, this, [this] { setPlaying(false); });
    connect(m_showPlace, &QPushButton::clicked, this, [this] {
        setPlaying(false);
        if (m_scene && m_scene->view.check.interferencePhi1)
            setPhi1(*m_scene->view.check.interferencePhi1);
    });

    m_pause.setSingleShot(true);
    m_pause.setInterval(100);
    connect(&m_pause, &QTimer::timeout, this, &MeshWindow::start);
    // Preparing a pair of 200 / 200 teeth with 50 elements takes about 0.15 s (bench/mesh_frames
    // prints it): on a worker the dialog and the turning never wait for it. One worker: newer
    // values wait for the older preparation, whose scene is then dropped.
    m_pool.setMaxThreadCount(1);
    m_clock.setInterval(kFrameMs);
    m_clock.setTimerType(Qt::PreciseTimer);
    connect(&m_clock, &QTimer::timeout, this, &MeshWindow::advance);
    showCheck();
    setPhi1(0.0);
}

MeshWindow::~MeshWindow() {
    m_pause.stop();
    ++*m_newest;
    m_pool.waitForDone();
}

QWidget* MeshWindow::buildCheckPanel() {
    auto* panel = new QWidget(this);
    panel->setFixedWidth(kPanelWidth);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    auto* heading = new QLabel(text(strings::kMeshCheckHeading), panel);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    column->addWidget(heading);

    auto* form = new QFormLayout;
    const std::pair<const char*, const char*> rows[] = {
        {strings::kMeshCentreDistance, "a"},
        {strings::kMeshBacklash, "jn"},
        {strings::kMeshJtSoll, "jtSoll"},
        {strings::kMeshJtMin, "jtMin"},
        {strings::kMeshJtMax, "jtMax"},
        {strings::kMeshC1, "c1"},
        {strings::kMeshC2, "c2"},
        {strings::kMeshInterference, "interference"}};
    for (const auto& [label, name] : rows)
        form->addRow(text(label), valueLabel(name, panel));
    column->addLayout(form);
    m_showPlace = new QPushButton(text(strings::kMeshShowPlace), panel);
    m_showPlace->setAutoDefault(false);
    column->addWidget(m_showPlace, 0, Qt::AlignLeft);

    auto* findingsHeading = new QLabel(text(strings::kMeshFindingsHeading), panel);
    findingsHeading->setFont(bold);
    column->addWidget(findingsHeading);
    m_findings = new FindingsList(panel);
    column->addWidget(m_findings, 1);
    m_disagreement = new QLabel(panel);
    m_disagreement->setObjectName(QStringLiteral("disagreement"));
    m_disagreement->setWordWrap(true);
    m_disagreement->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    column->addWidget(m_disagreement);
    m_status = new QLabel(text(strings::kMeshNeedsValidFields), panel);
    m_status->setWordWrap(true);
    column->addWidget(m_status);
    auto* legend = new QLabel(text(strings::kMeshLegend), panel);
    legend->setWordWrap(true);
    column->addWidget(legend);
    return panel;
}

bool MeshWindow::busy() const {
    return m_pause.isActive() || m_running->load() > 0;
}

double MeshWindow::phi1() const {
    return m_canvas->phi1();
}

void MeshWindow::setPair(const GearPairInput& input, double backlash) {
    // The values shown, asked for again with nothing newer pending, need no new preparation.
    if (!busy() && m_scene && samePair(m_scene->view.input, input) &&
        m_scene->view.backlash == backlash)
        return;
    m_input = input;
    m_backlash = backlash;
    m_asked = true;
    ++*m_newest;  // a scene being prepared is stale now
    m_status->setText(text(strings::kMeshBusy));
    m_pause.start();
}

void MeshWindow::start() {
    const std::uint64_t mine = m_newest->load();
    const GearPairInput input = m_input;
    const double backlash = m_backlash;
    auto newest = m_newest;
    auto running = m_running;
    ++*running;
    m_pool.start([this, mine, input, backlash, newest, running] {
        if (newest->load() != mine) {
            --*running;
            return;
        }
        std::shared_ptr<const MeshScene> scene = buildMeshScene(input, backlash);
        // Delivered through the window's event loop, where it stops counting as running (so
        // that busy() holds until it is shown); dropped if newer values came since.
        QMetaObject::invokeMethod(
            this,
            [this, mine, newest, running, scene = std::move(scene)] {
                --*running;
                if (newest->load() == mine)
                    showScene(scene);
            },
            Qt::QueuedConnection);
    });
}

void MeshWindow::showScene(std::shared_ptr<const MeshScene> scene) {
    m_scene = std::move(scene);
    m_canvas->setScene(m_scene);
    const GearPairInput& in = m_scene->view.input;
    m_values->setText(text(strings::kMeshValues)
                          .arg(in.z1)
                          .arg(in.z2)
                          .arg(decimal(in.mn), decimal(in.beta), decimal(in.x1), decimal(in.x2))
                          .arg(in.segmentCount)
                          .arg(decimal(m_scene->view.backlash)));
    // The arrow keys walk through the mesh check's steps, page keys by a pitch.
    if (m_scene->view.result.ok()) {
        const double pitch = 360.0 / in.z1;
        m_slider->setSingleStep(
            std::max(1, static_cast<int>(std::lround(pitch / 360.0 * kSliderStepsPerDegree))));
        m_slider->setPageStep(
            std::max(1, static_cast<int>(std::lround(pitch * kSliderStepsPerDegree))));
    }
    if (playing()) {
        m_playFrom = phi1();
        m_since.restart();
    }
    showCheck();
    setPhi1(phi1());
}

void MeshWindow::showCheck() {
    const bool ok = m_scene && m_scene->view.result.ok();
    const auto set = [this](const char* name, const QString& value) {
        findChild<QLabel*>(QString::fromLatin1(name))->setText(value);
    };
    if (!ok) {
        for (const char* name : {"a", "jn", "jtSoll", "jtMin", "jtMax", "c1", "c2", "interference"})
            set(name, QStringLiteral("–"));
        m_showPlace->setEnabled(false);
        m_disagreement->clear();
        m_disagreement->hide();
        m_findings->clear();
        if (m_scene)
            m_status->setText(QString::fromStdString(m_scene->view.result.message));
        setPlaying(false);
        m_play->setEnabled(false);
        m_slider->setEnabled(false);
        return;
    }
    const MeshView& v = m_scene->view;
    const MeshCheck& c = v.check;
    set("a", millimetres(v.geometry.a));
    set("jn", millimetres(c.jn));
    set("jtSoll", millimetres(c.jtSoll));
    // Without a step that turns freely the check has no backlash to give.
    set("jtMin", std::isnan(c.jtMin) ? text(strings::kMeshNoFreeTurn) : millimetres(c.jtMin));
    set("jtMax", std::isnan(c.jtMax) ? text(strings::kMeshNoFreeTurn) : millimetres(c.jtMax));
    set("c1", millimetres(c.c1));
    set("c2", millimetres(c.c2));
    set("interference", c.interferencePhi1
                            ? text(strings::kMeshInterferenceFrom).arg(decimal(*c.interferencePhi1))
                            : text(strings::kMeshNoInterference));
    m_showPlace->setEnabled(c.interferencePhi1.has_value());
    m_findings->showAssessment(v.findings);
    if (v.disagreement) {
        m_disagreement->setText(QString::fromStdString(
            messages::meshDisagreement(*v.disagreement, c, DecimalMark::comma)));
        m_disagreement->show();
    } else {
        m_disagreement->clear();
        m_disagreement->hide();
    }
    m_status->setText(busy() ? text(strings::kMeshBusy) : QString());
    m_play->setEnabled(true);
    m_slider->setEnabled(true);
}

void MeshWindow::setPhi1(double degrees) {
    m_canvas->setPhi1(degrees);
    {
        const QSignalBlocker quiet(m_slider);
        m_slider->setValue(static_cast<int>(std::lround(degrees * kSliderStepsPerDegree)));
    }
    double phi2 = 0;
    if (m_scene && m_scene->view.result.ok())
        phi2 = -degrees * m_scene->view.input.z1 / m_scene->view.input.z2;
    m_turn->setText(text(strings::kMeshTurn).arg(decimal(degrees), decimal(phi2)));
}

void MeshWindow::setPlaying(bool on) {
    if (on == playing())
        return;
    if (on) {
        m_playFrom = phi1();
        m_since.start();
        m_clock.start();
    } else {
        m_clock.stop();
    }
    m_play->setIcon(style()->standardIcon(on ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
    m_play->setText(text(on ? strings::kMeshPause : strings::kMeshPlay));
}

void MeshWindow::advance() {
    if (!m_scene || !m_scene->view.result.ok())
        return;
    // From the time since the start, so that a late frame does not slow the turning down.
    const double pitch = 360.0 / m_scene->view.input.z1;
    const double turned =
        m_playFrom + static_cast<double>(m_since.nsecsElapsed()) * 1e-9 * pitch / kSecondsPerPitch;
    setPhi1(turned - 360.0 * std::floor(turned / 360.0));
}

void MeshWindow::hideEvent(QHideEvent* event) {
    setPlaying(false);
    QWidget::hideEvent(event);
}

}  // namespace kellvor

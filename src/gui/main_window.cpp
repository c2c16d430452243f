// The main window.
#include "gui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QToolBar>

#include "display/tools.h"
#include "gui/desktop_settings.h"
#include "gui/dialogs/about_dialog.h"
#include "gui/dialogs/baseline_dialog.h"
#include "gui/dialogs/comment_dialog.h"
#include "gui/dialogs/data_points_dialog.h"
#include "gui/dialogs/file_type_dialog.h"
#include "gui/dialogs/fourier_dialog.h"
#include "gui/dialogs/hydrogens_dialog.h"
#include "gui/dialogs/input_parameters_dialog.h"
#include "gui/dialogs/integral_factor_dialog.h"
#include "gui/dialogs/interactive_apodization_dialog.h"
#include "gui/dialogs/interactive_sim_dialog.h"
#include "gui/dialogs/jcamp_options_dialog.h"
#include "gui/dialogs/measure_j_dialog.h"
#include "gui/dialogs/multi_point_baseline_dialog.h"
#include "gui/dialogs/multiplet_report_dock.h"
#include "gui/dialogs/parameters_dialog.h"
#include "gui/dialogs/peak_picking_dialog.h"
#include "gui/dialogs/phase_dialog.h"
#include "gui/dialogs/reference_dialog.h"
#include "gui/dialogs/scale_factor_dialog.h"
#include "gui/dialogs/select_subsystem_dialog.h"
#include "gui/dialogs/set_limits_dialog.h"
#include "gui/dialogs/shift_data_dialog.h"
#include "gui/dialogs/signal_to_noise_dialog.h"
#include "gui/dialogs/simulation_data_dialog.h"
#include "gui/dialogs/suppress_peaks_dialog.h"
#include "gui/dialogs/units_dialog.h"
#include "gui/dialogs/window_function_dialog.h"
#include "gui/expansion_window.h"
#include "gui/help_window.h"
#include "gui/menu_layout.h"
#include "gui/plot_view.h"
#include "gui/scroll_code.h"
#include "gui/simulation_tuner.h"
#include "gui/two_set_strip.h"
#include "io/import.h"
#include "simulation/fit_session.h"

namespace pelvaron::gui {

MainWindow::MainWindow(Document& doc, QWidget* parent, DesktopSettings* settings)
    : QMainWindow(parent), doc_(doc), settings_(settings) {
    setWindowTitle(QString::fromStdString(app::startTitle()));
    setWindowIcon(QIcon(QStringLiteral(":/icons/app.svg")));
    setAcceptDrops(true);

    ui_ = new QtUserInterface(this);
    ui_->setSettings(settings_);
    dispatcher_ = std::make_unique<app::CommandDispatcher>(doc_, *ui_, *this);
    if (settings_ != nullptr) {
        if (const auto format = settings_->importFormat()) io::selectImportFormat(doc_, *format);
        dispatcher_->setFileLoadedCallback([this](const std::string& path) {
            settings_->addRecentFile(QString::fromStdString(path));
            refreshRecentMenu();
        });
    }

    // Window creation: the client area starts at the size of the screen's work area.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect work = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
    display::initClientArea(view(), work.width(), work.height());
    doc_.noSaveQuery = 1;
    doc_.integrals.integralBaselineCorr = 0;
    view().hScrollRange = doc_.spectrum.nData;
    view().hScrollPos = 0;

    auto* central = new QWidget(this);
    auto* grid = new QGridLayout(central);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    plot_ = new PlotView(doc_, view(), *ui_, central);
    plot_->setObjectName(QStringLiteral("plot"));
    screenHeight_ = screen != nullptr ? screen->geometry().height() : work.height();
    plot_->setScreenHeight(screenHeight_);
    hBar_ = new QScrollBar(Qt::Horizontal, central);
    vBar_ = new QScrollBar(Qt::Vertical, central);
    grid->addWidget(plot_, 0, 0);
    grid->addWidget(vBar_, 0, 1);
    grid->addWidget(hBar_, 1, 0);
    setCentralWidget(central);
    connect(hBar_, &QAbstractSlider::actionTriggered, this, &MainWindow::horizontalAction);
    connect(vBar_, &QAbstractSlider::actionTriggered, this, &MainWindow::verticalAction);

    for (int part = 0; part < 2; ++part) {
        status_[part] = new QLabel(this);
        status_[part]->setObjectName(QStringLiteral("status%1").arg(part));
        status_[part]->setTextFormat(Qt::PlainText);
        status_[part]->setMinimumWidth(1);
    }
    statusBar()->addWidget(status_[0]);
    statusBar()->addWidget(status_[1], 1);
    reference_ = new QLabel(this);
    reference_->setObjectName(QStringLiteral("statusReference"));
    reference_->setTextFormat(Qt::PlainText);
    reference_->setToolTip(QStringLiteral("Where the ppm axis of the data set comes from"));
    statusBar()->addPermanentWidget(reference_);
    statusBar()->setSizeGripEnabled(true);

    toolBar_ = new QToolBar(QStringLiteral("Toolbar"), this);
    toolBar_->setObjectName(QStringLiteral("toolbar"));
    toolBar_->setMovable(false);
    toolBar_->setIconSize(QSize(24, 24));
    toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    addToolBar(Qt::TopToolBarArea, toolBar_);
    toolBar_->setVisible(false);

    connect(ui_, &QtUserInterface::statusTextChanged, this,
            [this](int part, const QString& text) { status_[part == 0 ? 0 : 1]->setText(text); });
    connect(ui_, &QtUserInterface::windowTitleChanged, this, [this](const QString& t) { setWindowTitle(t); });
    connect(ui_, &QtUserInterface::documentMenusEnabled, this, &MainWindow::enableDocumentMenus);
    connect(ui_, &QtUserInterface::expansionWindowsClosed, this, &MainWindow::closeExpansionWindows);
    // Queued: the dialogs of a pick open after the mouse event has been handled.
    connect(
        plot_, &PlotView::toolRequested, this,
        [this](display::ToolRequest request, int index) {
            dispatcher_->toolRequested(request, index);
            showDocument();
        },
        Qt::QueuedConnection);

    buildMenus();
    buildToolbar();
    buildAccelerators();
    syncMenus();
    showDocument();
    // From here on every change notice of the document is shown at once.
    doc_.observers.push_back(this);
}

MainWindow::~MainWindow() { std::erase(doc_.observers, this); }

void MainWindow::documentChanged(const Document&, ChangeSet) { showDocument(); }

QAction* MainWindow::action(int id) const {
    const auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

PhaseDialogWidget* MainWindow::phaseDialog() const { return phase_.data(); }
InteractiveApodizationDialogWidget* MainWindow::apodizationDialog() const { return apodization_.data(); }

MeasureJDialogWidget* MainWindow::measureJDialog() const { return measureJ_.data(); }

MultiPointBaselineWidget* MainWindow::multiPointBaselineDialog() const { return multiPoint_.data(); }

MultipletReportDock* MainWindow::multipletReport() const { return multiplets_.data(); }

QString MainWindow::statusText(int part) const { return status_[part == 0 ? 0 : 1]->text(); }

void MainWindow::registerCommand(int id, app::CommandHandler handler) {
    dispatcher_->registerCommand(id, std::move(handler));
    buildMenus();
    buildToolbar();
    buildAccelerators();
    syncMenus();
}

void MainWindow::buildMenus() {
    menuBar()->clear();
    for (QMenu* menu : menus_) menu->deleteLater();
    menus_.clear();
    for (auto& [id, act] : actions_) act->deleteLater();
    actions_.clear();
    for (const MenuDefinition& definition : kMenus) {
        auto* menu = new QMenu(QString::fromLatin1(definition.title), this);
        QMenu* target = menu;
        QMenu* submenu = nullptr;
        bool pendingSeparator = false;
        for (const MenuEntry& entry : definition.entries) {
            if (entry.id == kSubmenu) {
                submenu = new QMenu(QString::fromLatin1(entry.text), menu);
                target = submenu;
                continue;
            }
            if (entry.id == kEndSubmenu) {
                if (submenu != nullptr && !submenu->isEmpty()) {
                    if (pendingSeparator && !menu->isEmpty()) menu->addSeparator();
                    pendingSeparator = false;
                    menu->addMenu(submenu);
                } else {
                    delete submenu;
                }
                submenu = nullptr;
                target = menu;
                continue;
            }
            if (entry.id == kSeparator) {
                if (target == menu)
                    pendingSeparator = true;
                else if (!target->isEmpty())
                    target->addSeparator();
                continue;
            }
            if (!dispatcher_->hasCommand(entry.id)) continue;
            if (target == menu && pendingSeparator && !menu->isEmpty()) menu->addSeparator();
            if (target == menu) pendingSeparator = false;
            auto* act = new QAction(QString::fromLatin1(entry.text), this);
            act->setCheckable(entry.checkable);
            const int id = entry.id;
            connect(act, &QAction::triggered, this, [this, id] {
                dispatcher_->dispatch(id, app::CommandSource::Menu);
                followTool();
            });
            target->addAction(act);
            actions_[id] = act;
        }
        if (menu->isEmpty()) {
            delete menu;
        } else {
            menuBar()->addMenu(menu);
            menus_.push_back(menu);
        }
    }
    addRecentMenu();
}

void MainWindow::addRecentMenu() {
    recentMenu_ = nullptr;
    QAction* import = action(app::kCmdImport);
    if (settings_ == nullptr || import == nullptr) return;
    QMenu* file = nullptr;
    for (QMenu* menu : menus_)
        if (menu->actions().contains(import)) file = menu;
    if (file == nullptr) return;
    recentMenu_ = new QMenu(QStringLiteral("Open &Recent"), file);
    const QList<QAction*> items = file->actions();
    const qsizetype next = items.indexOf(import) + 1;
    file->insertMenu(next < items.size() ? items[next] : nullptr, recentMenu_);
    refreshRecentMenu();
}

void MainWindow::refreshRecentMenu() {
    if (recentMenu_ == nullptr || settings_ == nullptr) return;
    recentMenu_->clear();
    const QStringList files = settings_->recentFiles();
    for (qsizetype k = 0; k < files.size(); ++k) {
        const QString& path = files[k];
        // The first nine get their digit as the accelerator; "&&" keeps an ampersand of a name.
        QString text = path;
        text.replace(QLatin1Char('&'), QStringLiteral("&&"));
        if (k < 9) text = QStringLiteral("&%1 %2").arg(k + 1).arg(text);
        QAction* item = recentMenu_->addAction(text);
        item->setData(path);
        connect(item, &QAction::triggered, this, [this, path] { openRecent(path); });
    }
    if (!files.isEmpty()) recentMenu_->addSeparator();
    QAction* clear = recentMenu_->addAction(QStringLiteral("&Clear Recent Files"));
    clear->setEnabled(!files.isEmpty());
    connect(clear, &QAction::triggered, this, [this] {
        settings_->clearRecentFiles();
        refreshRecentMenu();
    });
    recentMenu_->setEnabled(dispatcher_->menus().isEnabled(app::kCmdOpen));
}

void MainWindow::openRecent(const QString& path) {
    if (!QFileInfo::exists(path)) {
        ui_->message(
            QStringLiteral("%1 no longer exists; it is taken off the recent files.").arg(path).toStdString(),
            "Open Recent", platform::Icon::Exclamation, platform::Buttons::Ok);
        settings_->removeRecentFile(path);
        refreshRecentMenu();
        return;
    }
    dispatcher_->openRecent(path.toStdString());
    showDocument();
}

bool MainWindow::restoreSavedGeometry() {
    return settings_ != nullptr && restoreGeometry(settings_->windowGeometry());
}

void MainWindow::buildToolbar() {
    toolBar_->clear();
    bool pendingSeparator = false;
    for (const ToolButton& button : kToolbar) {
        if (button.id == kSeparator) {
            pendingSeparator = true;
            continue;
        }
        QAction* act = action(button.id);
        if (act == nullptr) continue;
        if (pendingSeparator && !toolBar_->actions().isEmpty()) toolBar_->addSeparator();
        pendingSeparator = false;
        act->setIcon(QIcon(QStringLiteral(":/icons/%1.svg").arg(QString::fromLatin1(button.icon))));
        act->setToolTip(QString::fromLatin1(button.toolTip));
        act->setIconVisibleInMenu(false);
        toolBar_->addAction(act);
    }
}

void MainWindow::buildAccelerators() {
    for (auto& [id, shortcut] : shortcuts_) delete shortcut;
    shortcuts_.clear();
    for (const Accelerator& accelerator : kAccelerators) {
        // Ctrl+J has its shortcut though no command serves it, so the key does nothing at all.
        if (!dispatcher_->hasCommand(accelerator.id) && accelerator.id != app::kCmdCtrlJ) continue;
        auto* shortcut = new QShortcut(QKeySequence(QString::fromLatin1(accelerator.keys)), this);
        shortcut->setContext(Qt::WindowShortcut);
        const int id = accelerator.id;
        connect(shortcut, &QShortcut::activated, this, [this, id] {
            dispatcher_->dispatch(id, app::CommandSource::Accelerator);
            followTool();
        });
        shortcuts_[id] = shortcut;
    }
}

void MainWindow::syncMenus() {
    for (auto& [id, act] : actions_) {
        act->setEnabled(dispatcher_->menus().isEnabled(id));
        if (const auto checked = app::checkState(doc_, view(), id)) {
            const QSignalBlocker blocker(act);
            act->setChecked(*checked);
        }
    }
    toolBar_->setVisible(dispatcher_->menus().toolbarVisible());
    if (recentMenu_ != nullptr) recentMenu_->setEnabled(dispatcher_->menus().isEnabled(app::kCmdOpen));
}

void MainWindow::enableDocumentMenus(bool enable) {
    dispatcher_->menus().enableDocumentMenus(enable);
    syncMenus();
}

void MainWindow::showDocument() {
    plot_->documentChanged();
    // The expansions hold indices, not copies: they show the data as they are now.
    for (ExpansionWindow* w : expansionWindows()) w->view()->update();
    if (twoSet_ != nullptr) twoSet_->sync();
    if (multiplets_ != nullptr) multiplets_->refresh();
    reference_->setText(
        doc_.haveDocument
            ? QStringLiteral("Reference: %1")
                  .arg(QString::fromUtf8(referenceSourceName(doc_.spectrum.referenceSource).data()))
            : QString());
    {
        const QSignalBlocker blocker(hBar_);
        // In the full view the bar is inert: it shows no thumb to drag.
        const int range = view().fullView ? 0 : std::max(0, view().hScrollRange);
        hBar_->setRange(0, range);
        hBar_->setPageStep(std::max(1, doc_.spectrum.nData - range));
        hBar_->setSingleStep(10);
        hBar_->setValue(view().hScrollPos);
        hBar_->setEnabled(range > 0);
    }
    {
        const QSignalBlocker blocker(vBar_);
        const bool active = doc_.integrals.integralsShown != 0;
        vBar_->setRange(0, active ? view().clientHeight : 0);
        vBar_->setPageStep(std::max(1, view().clientHeight / 8));
        vBar_->setValue(view().integralBaseY);
        vBar_->setEnabled(active);
    }
    syncMenus();
}

void MainWindow::horizontalAction(int action) {
    const display::ScrollCode code = scrollCodeOf(action);
    display::horizontalScroll(doc_, view(), code, hBar_->sliderPosition());
    // The bar shows where the view is, not where Qt would have moved the thumb.
    hBar_->setSliderPosition(view().fullView ? 0 : view().hScrollPos);
}

void MainWindow::verticalAction(int action) {
    const display::ScrollCode code = scrollCodeOf(action);
    display::verticalScroll(doc_, view(), code, vBar_->sliderPosition());
    vBar_->setSliderPosition(view().integralBaseY);
}

bool MainWindow::runUnitsDialog(display::UnitsDialog& model) {
    UnitsDialogWidget dialog(model, doc_, this);
    return dialog.exec() == QDialog::Accepted;
}

bool MainWindow::runSetLimitsDialog(display::SetLimitsDialog& model) {
    SetLimitsDialogWidget dialog(model, doc_, view(), *ui_, this);
    return dialog.exec() == QDialog::Accepted;
}

bool MainWindow::runScaleFactorDialog(display::ScaleFactorDialog& model) {
    ScaleFactorDialogWidget dialog(model, view(), this);
    return dialog.exec() == QDialog::Accepted;
}

bool MainWindow::runFileTypeDialog(app::FileTypeDialogModel& model) {
    FileTypeDialogWidget dialog(model, doc_, this);
    return dialog.exec() == QDialog::Accepted;
}

void MainWindow::showParametersDialog(const app::ParametersFields& fields) {
    ParametersDialogWidget dialog(fields, this);
    dialog.exec();
}

bool MainWindow::runCommentDialog(app::CommentEntry& entry) {
    CommentDialogWidget dialog(entry.text, this);
    if (dialog.exec() != QDialog::Accepted) return false;
    entry.text = dialog.text();
    // The box goes where the dialog stood, in plot pixels, kept inside the client area.
    const QPoint corner = plot_->mapFromGlobal(dialog.frameGeometry().topLeft());
    entry.x = std::clamp(corner.x(), 0, std::max(0, view().clientWidth - 1));
    entry.y = std::clamp(corner.y() + PlotView::topRows(), view().plotRect.top,
                         std::max(view().plotRect.top, view().plotRect.bottom - 1));
    entry.extent = ui_->measureText(entry.text);
    return true;
}

bool MainWindow::runWindowFunctionDialog(processing::WindowFunctionDialog& model) {
    WindowFunctionDialogWidget dialog(model, *ui_, this);
    return dialog.exec() == QDialog::Accepted;
}

bool MainWindow::runFourierDialog(processing::FourierDialog& model) {
    FourierDialogWidget dialog(model, this);
    return dialog.exec() == QDialog::Accepted;
}

namespace {

/// Shows the scrolling dialog held in `dialog`, made by `make` when none is open; `closed` runs
/// when it ends (OK, Cancel, Escape and the title bar's close all end in finished()). It takes
/// the keyboard: its scroll bars answer the arrow keys, Enter is OK and Escape Cancel, as long as
/// it is the active window.
template <class Widget, class Make, class Closed>
void showScrollingDialog(QPointer<Widget>& dialog, QWidget* owner, Make make, Closed closed) {
    if (dialog == nullptr) {
        dialog = make();
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        QObject::connect(dialog, &QDialog::finished, owner, closed);
    }
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

}  // namespace

void MainWindow::showPhaseDialog() {
    showScrollingDialog(
        phase_, this, [this] { return new PhaseDialogWidget(doc_, this); },
        [this] {
            dispatcher_->setPhaseDialogOpen(false);
            syncMenus();
        });
    syncMenus();
}

void MainWindow::showInteractiveApodizationDialog() {
    showScrollingDialog(
        apodization_, this,
        [this] { return new InteractiveApodizationDialogWidget(doc_, view(), *ui_, this); },
        [this] {
            dispatcher_->setApodizationDialogOpen(false);
            syncMenus();
        });
    syncMenus();
}

bool MainWindow::runJcampOptionsDialog(io::JcampOptionsDialog& model) {
    JcampOptionsDialogWidget dialog(model, doc_, *ui_, this);
    return dialog.exec() == QDialog::Accepted;
}

void MainWindow::showDataPointsDialog(io::DataPointsDialog& model) {
    DataPointsDialogWidget dialog(model, doc_, *ui_, this);
    dialog.exec();
}

bool MainWindow::runBaselineDialog(processing::BaselineDialog& model) {
    BaselineDialogWidget dialog(model, this);
    connect(&dialog, &BaselineDialogWidget::previewChanged, plot_, &PlotView::setPreview);
    const bool ok = dialog.exec() == QDialog::Accepted;
    plot_->setPreview({});
    return ok;
}

void MainWindow::showMultiPointBaselineDialog() {
    if (multiPoint_ == nullptr) {
        multiPoint_ = new MultiPointBaselineWidget(doc_, view(), this);
        multiPoint_->setAttribute(Qt::WA_DeleteOnClose);
        connect(multiPoint_, &QDialog::finished, this, &MainWindow::showDocument);
    }
    multiPoint_->show();
    multiPoint_->raise();
}

bool MainWindow::runReferenceDialog(processing::ReferenceDialog& model) {
    ReferenceDialogWidget dialog(model, this);
    return dialog.exec() == QDialog::Accepted;
}

bool MainWindow::runShiftDataDialog(processing::ShiftDataDialog& model) {
    ShiftDataDialogWidget dialog(model, this);
    return dialog.exec() == QDialog::Accepted;
}

bool MainWindow::runSuppressPeaksDialog(processing::SuppressPeaksDialog& model) {
    SuppressPeaksDialogWidget dialog(model, this);
    return dialog.exec() == QDialog::Accepted;
}

void MainWindow::showSignalToNoiseDialog(const std::string& text) {
    SignalToNoiseDialogWidget dialog(QString::fromStdString(text), this);
    dialog.exec();
}

int MainWindow::runInputParametersDialog(simulation::InputParametersDialog& model) {
    InputParametersDialogWidget dialog(model, this);
    return dialog.exec();
}

int MainWindow::runSimulationDataDialog(simulation::SimulationDataDialog& model) {
    SimulationDataDialogWidget dialog(model, doc_, *ui_, this);
    return dialog.exec();
}

bool MainWindow::runSelectSubsystemDialog(simulation::SelectSubsystemDialog& model) {
    SelectSubsystemDialogWidget dialog(model, this);
    return dialog.exec() == QDialog::Accepted;
}

void MainWindow::showInteractiveSimDialog() {
    // The dialog tunes the subsystem chosen now: one open on another closes first.
    if (interactiveSim_ != nullptr) interactiveSim_->close();
    if (tuner_ == nullptr) {
        tuner_ = new SimulationTuner(doc_, *ui_, this);
        connect(tuner_, &SimulationTuner::finished, this, &MainWindow::showDocument);
    }
    interactiveSim_ = new InteractiveSimDialogWidget(doc_, *ui_, *tuner_, this);
    interactiveSim_->setAttribute(Qt::WA_DeleteOnClose);
    connect(interactiveSim_, &QDialog::finished, this, &MainWindow::showDocument);
    connect(interactiveSim_, &InteractiveSimDialogWidget::fitRequested, this,
            &MainWindow::fitFromInteractiveSim);
    interactiveSim_->setFitting(twoSet_ != nullptr && twoSet_->fitting());
    interactiveSim_->show();
    interactiveSim_->raise();
}

bool MainWindow::runHydrogensDialog(analysis::HydrogensDialog& model) {
    HydrogensDialogWidget dialog(model, doc_, this);
    return dialog.exec() == QDialog::Accepted;
}

bool MainWindow::runIntegralFactorDialog(analysis::IntegralFactorDialog& model) {
    IntegralFactorDialogWidget dialog(model, doc_, this);
    return dialog.exec() == QDialog::Accepted;
}

int MainWindow::runPeakPickingDialog(analysis::PeakPickingDialog& model) {
    PeakPickingDialogWidget dialog(model, this);
    return dialog.exec();
}

void MainWindow::showMeasureJDialog() {
    if (measureJ_ == nullptr) {
        measureJ_ = new MeasureJDialogWidget(doc_, view(), *ui_, this);
        measureJ_->setAttribute(Qt::WA_DeleteOnClose);
        connect(measureJ_, &QDialog::finished, this, &MainWindow::showDocument);
    }
    measureJ_->show();
    measureJ_->raise();
}

void MainWindow::refreshMeasureJDialog() {
    if (measureJ_ != nullptr) measureJ_->refresh();
}

void MainWindow::followTool() {
    // A command may choose another tool without a change notice after it.
    if (multiplets_ != nullptr) multiplets_->refresh();
}

void MainWindow::showMultipletReport() {
    if (multiplets_ == nullptr) {
        multiplets_ = new MultipletReportDock(doc_, view(), *this, this);
        addDockWidget(Qt::RightDockWidgetArea, multiplets_);
    }
    multiplets_->refresh();
    multiplets_->show();
    multiplets_->raise();
}

std::vector<ExpansionWindow*> MainWindow::expansionWindows() const {
    std::vector<ExpansionWindow*> open;
    for (ExpansionWindow* w : plot_->findChildren<ExpansionWindow*>(Qt::FindDirectChildrenOnly))
        if (!w->isHidden()) open.push_back(w);
    return open;
}

TwoSetStrip* MainWindow::twoSetStrip() const { return twoSet_.data(); }

void MainWindow::openExpansionWindow(int slot) {
    new ExpansionWindow(doc_, view(), *ui_, slot, screenHeight_, PlotView::topRows(), plot_);
}

void MainWindow::closeExpansionWindows() {
    for (ExpansionWindow* w : expansionWindows()) w->close();
}

void MainWindow::fitStateChanged(bool running) {
    if (interactiveSim_ != nullptr) {
        interactiveSim_->setFitting(running);
        interactiveSim_->refresh();
    }
    showDocument();
}

void MainWindow::fitFromInteractiveSim() {
    if (twoSet_ == nullptr || !twoSet_->comparing()) {
        ui_->message(simulation::kFitNoSimulationText, simulation::kFitCaption, platform::Icon::Stop,
                     platform::Buttons::Ok);
        return;
    }
    twoSet_->fit();
}

void MainWindow::showTwoSetControls(bool show) {
    if (show && twoSet_ == nullptr) {
        twoSet_ = new TwoSetStrip(doc_, view(), *ui_, *dispatcher_, PlotView::topRows(), plot_);
        connect(twoSet_, &TwoSetStrip::fittingChanged, this, &MainWindow::fitStateChanged);
    }
    if (!show && twoSet_ != nullptr) {
        twoSet_->abandonFit();
        twoSet_->hide();
        twoSet_->deleteLater();
        twoSet_ = nullptr;
        // A fit ends with its strip, unannounced.
        if (interactiveSim_ != nullptr) interactiveSim_->setFitting(false);
    }
    if (twoSet_ != nullptr) twoSet_->sync();
}

void MainWindow::showHelp() {
    if (help_ == nullptr) help_ = new HelpWindow(this);
    help_->show();
    help_->raise();
    help_->activateWindow();
}

void MainWindow::showAbout() {
    AboutDialog dialog(this);
    dialog.exec();
}

void MainWindow::requestClose() { close(); }

void MainWindow::focusMainWindow() { plot_->setFocus(Qt::OtherFocusReason); }

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!dispatcher_->queryClose()) {
        event->ignore();
        return;
    }
    if (help_ != nullptr) help_->close();
    if (settings_ != nullptr) {
        settings_->setWindowGeometry(saveGeometry());
        settings_->setImportFormat(doc_.import.importFormat);
    }
    event->accept();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    const QMimeData* mime = event->mimeData();
    if (mime->hasUrls() && !mime->urls().isEmpty() && mime->urls().first().isLocalFile()) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile()) return;
    event->acceptProposedAction();
    const std::string path = urls.first().toLocalFile().toStdString();
    // Opened after the drop has finished, so that its dialogs do not run inside the drag.
    QMetaObject::invokeMethod(
        this, [this, path] { dispatcher_->openDropped(path); }, Qt::QueuedConnection);
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (statusSized_) return;
    // The first part's edge is set once, at half the first width; it is not recomputed.
    status_[0]->setFixedWidth(std::max(1, width() / 2));
    statusSized_ = true;
}

}  // namespace pelvaron::gui

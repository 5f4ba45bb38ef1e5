#include <QAbstractButton>
#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>

#include "app/main_window.h"
#include "app/window_shortcuts.h"
#include "editing/page_bindings.h"
#include "editing/page_index.h"
#include "editing/widgets/commit_spin_box.h"
#include "editing/widgets/map_grid.h"
#include "editing/widgets/mouse_up_check_box.h"
#include "editing/widgets/pages.h"
#include "editing/widgets/position_spin_button.h"
#include "editing/widgets/radio_group.h"
#include "editing/widgets/ui_text_applier.h"
#include "i18n/ui_texts.h"

namespace zelvor::app {

namespace {

// Client area of the designed window.
constexpr QSize kClientSize{1039, 801};

// Hands Enter in the bike combo box and two check boxes to the window's
// Enter handling, and every key of the memo to the memo handler before the
// memo applies it.
class KeyRouter : public QObject {
  public:
    KeyRouter(QObject* parent, std::function<void(QWidget*)> enter, std::function<void()> memoKey,
              QObject* memo)
        : QObject(parent), enter_(std::move(enter)), memoKey_(std::move(memoKey)), memo_(memo) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        if (watched == memo_) {
            memoKey_();
            return false;
        }
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            enter_(qobject_cast<QWidget*>(watched));
            return true;
        }
        return false;
    }

  private:
    std::function<void(QWidget*)> enter_;
    std::function<void()> memoKey_;
    QObject* memo_;
};

}  // namespace

QAction* TFormHlav::addMenuAction(QMenu* menu, const char* name, QKeySequence shortcut) {
    auto* action = menu->addAction(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    registry_.add(name, action);
    return action;
}

void TFormHlav::buildWindow() {
    setObjectName(QStringLiteral("TFormHlav"));
    registry_.add(i18n::kMainWindowName, this);
    QWidget* central = buildClientArea();
    buildMenus();
    buildToolBar(central);

    pageControl_ = new QTabWidget(central);
    pageControl_->setGeometry(4, 46, widgets::kPageControlSize.width(),
                              widgets::kPageControlSize.height());
    widgets::ControlFactory factory(registry_);
    const QStringList missing = widgets::buildAllPages(pageControl_, factory);
    for (const QString& name : missing) qWarning("Page control missing: %s", qPrintable(name));
    // The page the window shows until the settings say otherwise.
    pageControl_->setCurrentIndex(state_.currentPage);
    auto* panel = new QWidget(central);
    panel->setObjectName(QStringLiteral("PanelLive"));
    panel->setGeometry(4, 46 + widgets::kPageControlSize.height() + 4,
                       widgets::kLivePanelSize.width(), widgets::kLivePanelSize.height());
    widgets::buildLivePanel(panel, factory);

    auto* status = new QStatusBar(this);
    registry_.add("StatusBar1", status);
    setStatusBar(status);
    buildLogMenu();
    // The designed client area holds the status bar; what is left above it
    // is the area the controls are laid out in.
    central->resize(kClientSize.width(), kClientSize.height() - status->sizeHint().height());
    resize(kClientSize.width(), kClientSize.height() + menuBar()->sizeHint().height());

    pageView_ = std::make_unique<PageView>(
        image_, scaling_, state_, registry_, pageControl_,
        PageView::Hooks{
            .identification = [this]() -> const link::UnitIdentification& {
                return link_->transfer().identification();
            },
            .unknownBike =
                [this] { postMessage(message(i18n::MessageKey::MsgBikeNotSupported)); }});
    printMode_ = std::make_unique<print::PrintMode>(registry_, pageControl_,
                                                    [this] { return state_.currentPage; });
    connectPageControls();
    connectStateBoxes();
    for (int i = 0; i < 3; ++i) {
        pageControl_->setTabText(editing::kPageAdvance + i,
                                 QString::fromUtf8(i18n::kMapPageCreationCaptions[i].data()));
    }
    widgets::applyUiTexts(registry_, i18n::fixedUiTexts());
    buildMemoCodePageMenu(registry_.find<QMenu>("MenuLanguage"));
}

QWidget* TFormHlav::buildClientArea() {
    // The controls keep their designed pixel positions in a client widget of
    // the designed size; on a screen smaller than that the window shrinks
    // and the client area scrolls, so every control stays reachable.
    auto* scroller = new QScrollArea(this);
    scroller->setObjectName(QStringLiteral("ScrollBoxClient"));
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidgetResizable(false);
    scroller->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    client_ = new QWidget;
    client_->setObjectName(QStringLiteral("ClientArea"));
    scroller->setWidget(client_);
    setCentralWidget(scroller);
    return client_;
}

void TFormHlav::buildMenus() {
    QMenuBar* bar = menuBar();
    registry_.add("MainMenu1", bar);
    const auto menu = [&](const char* name) {
        QMenu* m = bar->addMenu(QString::fromLatin1(name));
        registry_.add(name, m);
        return m;
    };

    QMenu* file = menu("MenuFile");
    connect(addMenuAction(file, "MenuNew", QKeySequence(Qt::CTRL | Qt::Key_N)), &QAction::triggered,
            this, &TFormHlav::MenuNewClick);
    file->addSeparator();
    connect(addMenuAction(file, "MenuOpen", QKeySequence(Qt::Key_F3)), &QAction::triggered, this,
            &TFormHlav::MenuOpenClick);
    buildCompareParts(file);
    file->addSeparator();
    connect(addMenuAction(file, "MenuSave", QKeySequence(Qt::Key_F2)), &QAction::triggered, this,
            &TFormHlav::MenuSaveClick);
    file->addSeparator();
    connect(addMenuAction(file, "MenuPrint", QKeySequence(Qt::CTRL | Qt::Key_P)),
            &QAction::triggered, this, &TFormHlav::SpeedButtonPrintClick);
    buildHistoryItem(file);
    // A kept snapshot is compared in the compare panel.
    setSnapshotCompare([this](const model::ParameterImage& image, const QString& name) {
        compareWith(image, name);
    });
    file->addSeparator();
    buildRecentFileItems(file);
    connect(addMenuAction(file, "MenuExit"), &QAction::triggered, this, &TFormHlav::MenuExitClick);

    QMenu* com = menu("MenuCom");
    ports_ = new PortController(
        port_, com, [this](const QString& text) { showMessage(text); }, this);
    connect(ports_, &PortController::portChosen, this, &TFormHlav::MenuCom1Click);
    connect(ports_, &PortController::overrideChosen, this, &TFormHlav::MenuComDeviceClick);
    com->addSeparator();
    connect(addMenuAction(com, "MenuCheckConnection"), &QAction::triggered, this,
            &TFormHlav::MenuCheckConnectionClick);

    QMenu* device = menu("MenuDevice");
    connect(addMenuAction(device, "MenuRead", QKeySequence(Qt::Key_F7)), &QAction::triggered, this,
            &TFormHlav::MenuReadClick);
    connect(addMenuAction(device, "MenuVerify", QKeySequence(Qt::Key_F8)), &QAction::triggered,
            this, &TFormHlav::MenuVerifyClick);
    connect(addMenuAction(device, "MenuProgram", QKeySequence(Qt::Key_F9)), &QAction::triggered,
            this, &TFormHlav::MenuProgramClick);

    QMenu* coupling = menu("Menu_Jet123Mode");
    const char* modes[] = {"Menu_Jet123Normal", "Menu_Jet123Coupled", "Menu_Jet123Stejny"};
    for (std::uint8_t mode = 0; mode < 3; ++mode) {
        QAction* a = addMenuAction(coupling, modes[mode]);
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, [this, mode] { Menu_Jet123ModeClick(mode); });
    }

    QMenu* tools = menu("MenuTools");
    connect(addMenuAction(tools, "MenuToolsMinus", QKeySequence(Qt::Key_F4)), &QAction::triggered,
            this, &TFormHlav::MenuToolsMinusClick);
    connect(addMenuAction(tools, "MenuToolsPlus", QKeySequence(Qt::Key_F5)), &QAction::triggered,
            this, &TFormHlav::MenuToolsPlusClick);
    connect(addMenuAction(tools, "MenuZpet", QKeySequence(Qt::CTRL | Qt::Key_Z)),
            &QAction::triggered, this, &TFormHlav::SpeedButtonZpetClick);
    connect(addMenuAction(tools, "MenuZnovu", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Z)),
            &QAction::triggered, this, &TFormHlav::SpeedButtonZnovuClick);
    new WindowShortcuts(
        this,
        {{QKeySequence(Qt::CTRL | Qt::Key_Z), [this] { SpeedButtonZpetClick(); }},
         {QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Z), [this] { SpeedButtonZnovuClick(); }}});

    QMenu* language = menu("MenuLanguage");
    for (std::uint8_t l = 0; l < i18n::kLanguageMenuItems.size(); ++l) {
        QAction* a = addMenuAction(language, i18n::kLanguageMenuItems[l].data());
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, [this, l] { SetLanguage(l); });
    }

    QMenu* help = menu("MenuHelp");
    connect(addMenuAction(help, "MenuContens", QKeySequence(Qt::Key_F1)), &QAction::triggered, this,
            &TFormHlav::MenuContensClick);
    connect(addMenuAction(help, "MenuAbout"), &QAction::triggered, this,
            &TFormHlav::MenuAboutClick);
}

QIcon TFormHlav::toolIcon(QStyle::StandardPixmap icon) const {
    // The tool buttons show 16 px icons. A standard icon also decodes its
    // 32 and 128 px pictures when it is made, a tenth of the start-up; on a
    // screen of ratio 1 its 16 px picture alone serves.
    if (devicePixelRatioF() > 1.0) return style()->standardIcon(icon);
    const QPixmap small = style()->standardPixmap(icon, nullptr, this);
    return small.isNull() ? style()->standardIcon(icon) : QIcon(small);
}

void TFormHlav::buildToolBar(QWidget* central) {
    auto* bar = new QGroupBox(central);
    registry_.add("GroupBoxToolBar", bar);
    bar->setGeometry(4, 2, 490, 42);
    const auto toolButton = [&](const char* name, QStyle::StandardPixmap icon, int left,
                                void (TFormHlav::*handler)()) {
        auto* b = new QToolButton(bar);
        registry_.add(name, b);
        b->setIcon(toolIcon(icon));
        b->setGeometry(left, 8, 30, 28);
        b->setAutoRaise(true);
        connect(b, &QToolButton::clicked, this, handler);
        return b;
    };
    toolButton("SpeedButton6", QStyle::SP_FileIcon, 6, &TFormHlav::MenuNewClick);
    toolButton("SpeedButton5", QStyle::SP_DialogOpenButton, 38, &TFormHlav::MenuOpenClick);
    toolButton("SpeedButton7", QStyle::SP_DialogSaveButton, 70, &TFormHlav::MenuSaveClick);
    auto* print = new QToolButton(bar);
    registry_.add("SpeedButtonPrint", print);
    print->setIcon(QIcon::fromTheme(QStringLiteral("document-print"),
                                    toolIcon(QStyle::SP_FileDialogDetailedView)));
    print->setGeometry(102, 8, 30, 28);
    print->setAutoRaise(true);
    connect(print, &QToolButton::clicked, this, &TFormHlav::SpeedButtonPrintClick);
    toolButton("SpeedButtonZpet", QStyle::SP_ArrowBack, 140, &TFormHlav::SpeedButtonZpetClick);
    toolButton("SpeedButtonZnovu", QStyle::SP_ArrowForward, 172, &TFormHlav::SpeedButtonZnovuClick);
    const auto button = [&](const char* name, int left, void (TFormHlav::*handler)()) {
        auto* b = new QPushButton(bar);
        registry_.add(name, b);
        b->setGeometry(left, 9, 90, 26);
        connect(b, &QPushButton::clicked, this, handler);
    };
    button("ButtonRead", 212, &TFormHlav::MenuReadClick);
    button("ButtonVerify", 302, &TFormHlav::MenuVerifyClick);
    button("ButtonProgram", 392, &TFormHlav::MenuProgramClick);
}

void TFormHlav::connectPageControls() {
    connect(pageControl_, &QTabWidget::currentChanged, this, &TFormHlav::PageControl1Change);

    QObject* memo = registry_.object("Memo1");
    auto* router = new KeyRouter(
        this, [this](QWidget* from) { FormKeyPressEnter(from); },
        [this, memo] { Memo1KeyPress(memo); }, memo);
    if (memo != nullptr) memo->installEventFilter(router);
    if (auto* memoEdit = qobject_cast<QPlainTextEdit*>(memo)) {
        // Leaving the memo commits it like leaving an edit.
        class FocusOut : public QObject {
          public:
            FocusOut(QObject* parent, std::function<void()> done)
                : QObject(parent), done_(std::move(done)) {}
            bool eventFilter(QObject*, QEvent* e) override {
                if (e->type() == QEvent::FocusOut) done_();
                return false;
            }

          private:
            std::function<void()> done_;
        };
        memoEdit->installEventFilter(new FocusOut(this, [this, memo] { EditExit(memo); }));
    }
    for (const char* name : {"ComboBoxBike", "CheckBoxTempDisplay", "CheckBoxGas"}) {
        if (QObject* o = registry_.object(name)) o->installEventFilter(router);
    }
    if (auto* combo = registry_.find<QComboBox>("ComboBoxBike")) {
        connect(combo, &QComboBox::activated, this, &TFormHlav::ComboBoxBikeChange);
    }

    for (QObject* object : findChildren<widgets::CommitSpinBox*>()) {
        auto* box = static_cast<widgets::CommitSpinBox*>(object);
        connect(box, &widgets::CommitSpinBox::arrowClicked, this,
                [this, box] { UpDownClick(box); });
        connect(box, &widgets::CommitSpinBox::editExit, this, [this, box] { EditExit(box); });
        connect(box, &widgets::CommitSpinBox::enterPressed, this,
                [this, box] { FormKeyPressEnter(box); });
    }
    using editing::Commit;
    for (std::string_view name : editing::controlsCommittingOn(Commit::MouseUp)) {
        if (auto* box = registry_.find<widgets::MouseUpCheckBox>(name)) {
            connect(box, &widgets::MouseUpCheckBox::mouseReleased, this,
                    &TFormHlav::CheckBoxMouseUp);
        }
    }
    for (std::string_view name : editing::controlsCommittingOn(Commit::DirectRadio)) {
        if (auto* group = registry_.find<widgets::RadioGroup>(name)) {
            connect(group, &widgets::RadioGroup::itemClicked, this,
                    [this, name](int item) { RadioGroupDirectClick(name, item); });
        }
    }
    for (std::string_view name : editing::controlsCommittingOn(Commit::ModeRadio)) {
        if (auto* group = registry_.find<widgets::RadioGroup>(name)) {
            connect(group, &widgets::RadioGroup::itemClicked, this,
                    &TFormHlav::RadioGroupGearSystemClick);
        }
    }
    for (int gear = 1; gear <= 6; ++gear) {
        if (auto* b = registry_.find<QAbstractButton>("ButtonGear" + std::to_string(gear))) {
            connect(b, &QAbstractButton::clicked, this, [this, gear] { ButtonGearClick(gear); });
        }
    }
    if (auto* steps = registry_.find<widgets::TwoArrowSpinButton>("CSpinButtonPolohaA")) {
        connect(steps, &widgets::TwoArrowSpinButton::down, this,
                &TFormHlav::ButtonMinusClick_PolohaA);
        connect(steps, &widgets::TwoArrowSpinButton::up, this, &TFormHlav::ButtonPlusClick_PolohaA);
    }
    if (auto* grid = registry_.find<widgets::MapGrid>("GroupBoxUni")) {
        connect(grid, &widgets::MapGrid::columnStepped, this, [this](int column, int direction) {
            if (direction > 0) {
                CSpinButtonUpClick_Uni(column);
            } else {
                CSpinButtonDownClick_Uni(column);
            }
        });
        connect(grid, &widgets::MapGrid::toolsStepped, this, [this](int direction) {
            if (direction > 0) {
                MenuToolsPlusClick();
            } else {
                MenuToolsMinusClick();
            }
        });
        connect(grid, &widgets::MapGrid::gridBoxReleased, this, &TFormHlav::CheckBoxTps_UniMouseUp);
        connectMapCells();
    }
    if (auto* b = registry_.find<QAbstractButton>("ButtonTps0")) {
        connect(b, &QAbstractButton::clicked, this, &TFormHlav::ButtonTps0Click);
    }
    if (auto* b = registry_.find<QAbstractButton>("ButtonTps100")) {
        connect(b, &QAbstractButton::clicked, this, &TFormHlav::ButtonTps100Click);
    }
}

}  // namespace zelvor::app

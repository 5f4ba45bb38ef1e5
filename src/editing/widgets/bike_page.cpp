#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QWheelEvent>

#include "editing/widgets/bike_memo.h"
#include "editing/widgets/pages.h"
#include "editing/widgets/pages_first_layout.h"
#include "model/default_set.h"

namespace zelvor::widgets {

namespace {

constexpr LabelledSpin kLimiters[] = {
    {"LabelStartLimiter", "UpDownStartLimiter"},
    {"LabelIgnLimiter", "UpDownIgnLimiter"},
    {"LabelJetLimiter", "UpDownJetLimiter"},
    {"LabelRetardLimiterRpm", "UpDownRetardLimiterRpm"},
    {"LabelRetardLimiterAdv", "UpDownRetardLimiterAdv"},
};
constexpr LabelledSpin kFans[] = {
    {"LabelFan1", "UpDownFan1"},
    {"LabelFan2", "UpDownFan2"},
};
constexpr LabelledSpin kRpmSignal[] = {
    {"LabelRpmPulsu", "UpDownRpmPulsu"},
    {"LabelRpmKorekce", "UpDownRpmKorekce"},
};
constexpr std::string_view kActivationChecks[] = {
    "CheckBoxAktStartLimiter",
    "CheckBoxAktClutchMaster",
    "CheckBoxAktRpm",
};
constexpr std::string_view kPinGroups[] = {
    "RadioGroupPinEngine23",
    "RadioGroupPinEngine14",
    "RadioGroupPinBody11",
};

// Columns of the page, left to right: bike, memo and unit data; limiters and
// input activation; pin functions; cooling and speed signal.
constexpr int kNoteLeft = 8;
constexpr int kNoteWidth = 292;
constexpr int kLimitLeft = 312;
constexpr int kLimitWidth = 300;
constexpr int kPinLeft = 624;
constexpr int kPinWidth = 188;
constexpr int kEngineLeft = 824;
constexpr int kEngineWidth = 191;

// Thirteen lines of the 11 px font fit the memo before it needs a scroll bar.
constexpr int kMemoHeight = 182;

// Choosing a bike replaces the whole parameter set: a wheel turned over the
// list on the way to another control must not do it. The list follows the
// wheel only once it has been clicked into.
class BikeComboBox : public QComboBox {
  public:
    explicit BikeComboBox(QWidget* parent) : QComboBox(parent) { setFocusPolicy(Qt::StrongFocus); }

  protected:
    void wheelEvent(QWheelEvent* event) override {
        if (!hasFocus()) {
            event->ignore();
            return;
        }
        QComboBox::wheelEvent(event);
    }
};

void buildNoteColumn(QWidget* page, ControlFactory& factory) {
    QWidget* bike = factory.groupBox(page, "GroupBoxBike", QRect(kNoteLeft, 8, kNoteWidth, 52));
    auto* bikes = new BikeComboBox(bike);
    for (std::string_view name : model::kBikeNames)
        bikes->addItem(ControlRegistry::toQString(name));
    bikes->setMaxVisibleItems(static_cast<int>(model::kBikeNames.size()));
    bikes->setGeometry(10, 21, kNoteWidth - 20, kSpinHeight);
    factory.registry().add("ComboBoxBike", bikes);

    factory.label(page, "LabelMemo", QRect(kNoteLeft, 68, kNoteWidth, kCaptionHeight));
    auto* memo = new MemoEdit(page);
    memo->setGeometry(kNoteLeft, 86, kNoteWidth, kMemoHeight);
    factory.registry().add("Memo1", memo);

    // What the unit reported about itself, and how often it was programmed.
    const int top = 86 + kMemoHeight + 8;
    const int half = (kNoteWidth - 8) / 2;
    factory.valueLabel(page, "LabelVerze1", QRect(kNoteLeft, top, kNoteWidth, kReadoutHeight));
    factory.valueLabel(page, "LabelVerze2", QRect(kNoteLeft, top + 24, half, kReadoutHeight));
    factory.valueLabel(page, "LabelVerze3",
                       QRect(kNoteLeft + kNoteWidth - half, top + 24, half, kReadoutHeight));
    factory.valueLabel(page, "LabelPocetProgramovani",
                       QRect(kNoteLeft, top + 48, kNoteWidth, kReadoutHeight));
}

void buildLimitColumn(QWidget* page, ControlFactory& factory) {
    QWidget* limiters =
        factory.groupBox(page, "GroupBoxOmez", QRect(kLimitLeft, 8, kLimitWidth, 162));
    buildLabelledSpins(limiters, factory, kLimiters, {10, 22, 200, 72, 27});

    QWidget* activation =
        factory.groupBox(page, "GroupBoxActivation", QRect(kLimitLeft, 178, kLimitWidth, 92));
    int top = 22;
    for (std::string_view name : kActivationChecks) {
        factory.checkBox(activation, name, QRect(10, top, kLimitWidth - 20, kCheckBoxHeight));
        top += 22;
    }
    factory.checkBox(page, "CheckBoxNoFuelInd",
                     QRect(kLimitLeft + 10, 280, kLimitWidth - 20, kCheckBoxHeight));
}

void buildPinColumn(QWidget* page, ControlFactory& factory) {
    int top = 8;
    for (std::string_view name : kPinGroups) {
        factory.radioGroup(page, name, QRect(kPinLeft, top, kPinWidth, 72));
        top += 80;
    }
}

void buildEngineColumn(QWidget* page, ControlFactory& factory) {
    QWidget* cooling =
        factory.groupBox(page, "GroupBoxChlazeni", QRect(kEngineLeft, 8, kEngineWidth, 80));
    buildLabelledSpins(cooling, factory, kFans, {10, 22, 110, 56, 27});
    QWidget* rpm = factory.groupBox(page, "GroupBoxRpm", QRect(kEngineLeft, 96, kEngineWidth, 80));
    buildLabelledSpins(rpm, factory, kRpmSignal, {10, 22, 122, 52, 27});
}

}  // namespace

void buildBikePage(QWidget* page, ControlFactory& factory) {
    buildNoteColumn(page, factory);
    buildLimitColumn(page, factory);
    buildPinColumn(page, factory);
    buildEngineColumn(page, factory);

    // The parameter file the set was last saved to or opened from; a full
    // path needs the width of the page.
    factory.label(page, "LabelFile1", QRect(kNoteLeft, 424, 50, kCaptionHeight));
    factory.label(page, "LabelFile2", QRect(kNoteLeft + 54, 424, 953, kCaptionHeight));
}

}  // namespace zelvor::widgets

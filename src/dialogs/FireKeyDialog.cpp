#include "dialogs/FireKeyDialog.h"

#include "assign/KeyTables.h"
#include "dialogs/EditMenu.h"
#include "profile/SettingsFiles.h"
#include "ui/Skin.h"
#include "ui/TextDraw.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpressionValidator>

#include <algorithm>

namespace z417 {
namespace {

namespace fl = layout::fireDialog;

const DialogFrameSetup kFrameSetup{
    fl::background.name, failureCaption::fireKey, &fl::dropDown, true, true, 46};

constexpr int kTimesMax = 127;
constexpr int kTimeMin = 5;
constexpr int kTimeMax = 255;

struct FieldPlace {
    int id;
    layout::Rect rect;
};
constexpr FieldPlace kFieldPlaces[3] = {
    {fl::timesFieldId, fl::timesField},
    {fl::makeTimeFieldId, fl::makeTimeField},
    {fl::breakTimeFieldId, fl::breakTimeField},
};

} // namespace

FireKeyDialog::FireKeyDialog(const DialogEnvironment& environment, QWidget* owner)
    : ResultDialog(environment, owner, kFrameSetup, FireKeyChoice{}) {}

QStringList FireKeyDialog::listEntries() const {
    return toQStringList(fireKeyList());
}

void FireKeyDialog::createControls() {
    displayField()->setAlignment(Qt::AlignCenter);
    displayField()->setText(result_.keyName);
    createFields();
}

void FireKeyDialog::paintOwnTexts(DialogCanvas& canvas) {
    const QColor colour = environment().skin->textColour();
    const Language lang = language();
    canvas.drawText(fl::timesLabel, dialogText::timesLabel.in(lang), colour);
    canvas.drawText(fl::makeTimeLabel, dialogText::makeTimeLabel.in(lang), colour);
    canvas.drawText(fl::breakTimeLabel, dialogText::breakTimeLabel.in(lang), colour);
    canvas.drawText(fl::firstNote, dialogText::timeNote.in(lang), colour);
    canvas.drawText(fl::secondNote, dialogText::timesNote.in(lang), colour);
}

// The painted labels beside the fields name them.
const DialogText* const kFieldNames[] = {&dialogText::timesLabel, &dialogText::makeTimeLabel,
                                         &dialogText::breakTimeLabel};

void FireKeyDialog::createFields() {
    static const QRegularExpression digitsOnly(QStringLiteral("[0-9]*"));
    for (int i = 0; i < 3; ++i) {
        auto* field = new QLineEdit(this);
        field->setFrame(false);
        field->setAlignment(Qt::AlignCenter);
        field->setValidator(new QRegularExpressionValidator(digitsOnly, field));
        setUpControl(field, kFieldPlaces[i].id, kFieldPlaces[i].rect);
        field->setAccessibleName(kFieldNames[i]->in(language()));
        field->installEventFilter(this);
        fields_[static_cast<size_t>(i)] = field;
        if (i == TimesField)
            connect(field, &QLineEdit::textChanged, this, &FireKeyDialog::timesChanged);
    }
    // Giving the fields their texts counts as a change, as typing does.
    for (size_t i = 0; i < 3; ++i)
        fields_[i]->setText(keptText_[i]);
}

void FireKeyDialog::destroyFields() {
    if (!fields_[TimesField])
        return;
    // A field that is being edited loses the focus when it goes: its value is taken first.
    for (Field f : {MakeTimeField, BreakTimeField}) {
        if (focusWidget() == fields_[f])
            commitTimeField(f);
    }
    for (QLineEdit*& field : fields_) {
        field->removeEventFilter(this);
        field->disconnect(this);
        field->clearFocus();
        delete field;
        field = nullptr;
    }
}

void FireKeyDialog::timesChanged(const QString& text) {
    keptText_[TimesField] = text;
    int value = decimalPrefixToInt(text.toStdString());
    if (value < 0 || value > kTimesMax) {
        value = 1;
        fields_[TimesField]->setText(QStringLiteral("1"));
    }
    result_.times = static_cast<uint8_t>(value);
}

void FireKeyDialog::commitTimeField(Field f) {
    QLineEdit* field = fields_[f];
    if (!field)
        return;
    int value = decimalPrefixToInt(field->text().toStdString());
    if (value < kTimeMin || value > kTimeMax) {
        value = kTimeMin;
        field->setText(QStringLiteral("5"));
    }
    // The kept text is what the field shows, so a re-created field shows the value taken.
    keptText_[f] = field->text();
    (f == MakeTimeField ? result_.makeTime : result_.breakTime) = static_cast<uint8_t>(value);
}

bool FireKeyDialog::eventFilter(QObject* watched, QEvent* event) {
    const auto found = std::find(fields_.begin(), fields_.end(), watched);
    if (found == fields_.end() || !*found)
        return ResultDialog::eventFilter(watched, event);
    const auto field = static_cast<Field>(found - fields_.begin());
    if (event->type() == QEvent::ContextMenu) {
        showEditMenu(*found, static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    // A pop-up (the context menu among them) takes the focus only for a while: only a real
    // loss of the keyboard focus takes the field's value.
    if (event->type() == QEvent::FocusOut && field != TimesField &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
        commitTimeField(field);
    return ResultDialog::eventFilter(watched, event);
}

void FireKeyDialog::showEditMenu(QLineEdit* field, const QPoint& globalPos) {
    QMenu* menu = createEditMenu(field, language());
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPos);
}

void FireKeyDialog::commitBeforeOk() {
    // Both fields, not only the one with the focus: a text put there without the focus (a
    // paste, a script) would otherwise never be taken. For a field whose value was taken
    // already this changes nothing.
    for (Field f : {MakeTimeField, BreakTimeField})
        commitTimeField(f);
}

void FireKeyDialog::listOpening() {
    destroyFields();
}

void FireKeyDialog::listClosed() {
    if (!fields_[TimesField])
        createFields();
}

void FireKeyDialog::entryChosen(int index, const QString& text) {
    result_.keyIndex = index;
    result_.keyName = text;
}

} // namespace z417

#include "dialogs/SnipeDialog.h"

#include "assign/KeyTables.h"

namespace z417 {

namespace {

const DialogFrameSpec kSpec{layout::snipeDialog::background.name, failureCaption::snipe,
                            &layout::snipeDialog::dropDown, true, false};

QStringList snipeEntries(uint8_t sensorVariant) {
    QStringList entries;
    for (const std::string& value : snipeList(sensorVariant))
        entries << QString::fromStdString(value);
    return entries;
}

} // namespace

SnipeDialog::SnipeDialog(const DialogEnvironment& environment, QWidget* owner)
    : ChoiceDialog(environment, owner, kSpec, snipeEntries(environment.sensorVariant)) {}

} // namespace z417

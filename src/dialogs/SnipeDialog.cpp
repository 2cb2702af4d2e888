#include "dialogs/SnipeDialog.h"

#include "assign/KeyTables.h"
#include "ui/TextDraw.h"

namespace z417 {

namespace {

const DialogFrameSetup kFrameSetup{layout::snipeDialog::background.name,
                                   failureCaption::snipe,
                                   &layout::snipeDialog::dropDown,
                                   true,
                                   false,
                                   49};

QStringList snipeEntries(uint8_t sensorVariant) {
    return toQStringList(snipeList(sensorVariant));
}

} // namespace

SnipeDialog::SnipeDialog(const DialogEnvironment& environment, QWidget* owner)
    : ChoiceDialog(environment, owner, kFrameSetup, snipeEntries(environment.sensorVariant)) {}

} // namespace z417

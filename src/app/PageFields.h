// The Basic page's child fields: the DPI stage values and colour swatches (stages 0..7) and
// the three lighting fields (mode, parameter, effect). The page makes and removes them; the
// value controls write into them.
#pragma once

#include "app/AppLayer.h"

#include "profile/SettingsRecord.h"

#include <QLabel>
#include <QPointer>
#include <QString>

#include <array>

namespace z417 {

struct PageFields {
    enum Led { Mode, Parameter, Effect, LedCount };

    std::array<QPointer<QLabel>, kDpiStageCount> dpiValues{};
    std::array<QPointer<QLabel>, kDpiStageCount> swatches{};
    std::array<QPointer<QLabel>, LedCount> leds{};

    // A field that is gone takes no text; one that is there repaints itself.
    static void setText(const QPointer<QLabel>& field, const QString& text) {
        if (field)
            field->setText(text);
    }
    void setLed(Led led, const QString& text) const { setText(leds[led], text); }
};

} // namespace z417

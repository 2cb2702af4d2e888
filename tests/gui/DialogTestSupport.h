// Helpers of the dialog tests: a skin folder in a temporary directory, a UiServices that
// records what the dialogs ask of the desktop, and a way to act inside a dialog's modal run.
#pragma once

#include "dialogs/DialogFrame.h"
#include "platform/qt/UiServices.h"
#include "ui/Layout.h"
#include "ui/Skin.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace z417::test {

struct RecordedBox {
    QWidget* owner;
    QString text;
    QString caption;
};

class RecordingServices : public UiServices {
public:
    void messageBox(QWidget* owner, const QString& text, const QString& caption) override {
        boxes.push_back({owner, text, caption});
    }
    std::optional<QColor> chooseColor(QWidget* owner, std::optional<QColor> initial) override {
        colourOwners.push_back(owner);
        colourPresets.push_back(initial);
        return colourAnswer;
    }
    void openUrl(const QString& url) override { urls.push_back(url); }

    int countBoxes(const QString& text) const {
        int n = 0;
        for (const auto& b : boxes)
            n += b.text == text ? 1 : 0;
        return n;
    }

    std::vector<RecordedBox> boxes;
    std::vector<QWidget*> colourOwners;
    std::vector<std::optional<QColor>> colourPresets;
    std::optional<QColor> colourAnswer;
    std::vector<QString> urls;
};

// A skins root holding "Default": the skin the build generates when it is there, otherwise
// plain images of the sizes the layout expects, drawn here.
class TempSkins {
public:
    TempSkins() {
        EXPECT_TRUE(dir_.isValid());
        QDir(dir_.path()).mkpath(QStringLiteral("Skins/Default"));
        const QString generated = QStringLiteral(Z417_BIN_DIR "/Skins/Default");
        bool copied = false;
        if (QDir(generated).exists()) {
            copied = true;
            for (const auto& image : layout::images::all) {
                const QString name = QString::fromUtf8(image.name);
                copied = copied && QFile::copy(generated + name, folder() + name);
            }
        }
        if (!copied)
            drawPlainSkin();
        setTextColour(QColor(200, 210, 220));
    }

    // The skin of the folder, as the dialogs get it.
    const Skin& skin() const { return skin_; }
    void setTextColour(const QColor& colour) const {
        EXPECT_TRUE(skin_.load(QFile::encodeName(folder()).toStdString(), colour).ok);
    }

    QString root() const { return dir_.path() + QStringLiteral("/Skins"); }
    QString folder() const { return root() + QStringLiteral("/Default"); }
    void remove(const char* name) const {
        ASSERT_TRUE(QFile::remove(folder() + QString::fromUtf8(name))) << name;
    }
    QImage image(const char* name) const { return skin_.image(name); }

private:
    void drawPlainSkin() const {
        int shade = 20;
        for (const auto& image : layout::images::all) {
            QImage art(image.size.width, image.size.height, QImage::Format_ARGB32);
            art.fill(QColor(shade, 60, 200 - shade, 255));
            shade = (shade + 23) % 180;
            ASSERT_TRUE(art.save(folder() + QString::fromUtf8(image.name), "PNG"));
        }
    }

    QTemporaryDir dir_;
    mutable Skin skin_;
};

inline DialogEnvironment environmentFor(const TempSkins& skins, RecordingServices& services,
                                        const std::string& language = "EN") {
    DialogEnvironment env;
    env.skin = &skins.skin();
    env.languageCode = language;
    env.services = &services;
    env.sensorVariant = 0;
    env.skinsRoot = QFile::encodeName(skins.root()).toStdString();
    env.currentSkinName = "Default";
    return env;
}

// What exec() returns when the script left the dialog open.
inline constexpr int kLeftOpen = -99;

// Plays the script inside the dialog's modal run; a dialog the script left open is ended with
// kLeftOpen.
inline void playInRun(DialogFrame& dialog, const std::function<void()>& script) {
    QTimer::singleShot(0, &dialog, [&dialog, script] {
        script();
        if (dialog.isVisible())
            dialog.done(kLeftOpen);
    });
}

// Runs the dialog modally with the script and returns how the run ended.
inline int runScript(DialogFrame& dialog, const std::function<void()>& script) {
    playInRun(dialog, script);
    return dialog.exec();
}

// Runs the dialog modally with the script and returns its result (nothing unless OK ended it).
template <class Dialog> auto askScripted(Dialog& dialog, const std::function<void()>& script) {
    playInRun(dialog, script);
    return dialog.run();
}

inline QRect qrectOf(const layout::Rect& r) {
    return QRect(r.left, r.top, r.width(), r.height());
}

inline QPoint centreOf(const layout::Rect& r) {
    return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

inline void clickAt(QWidget* widget, QPoint point) {
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, point);
}

inline void clickIn(QWidget* widget, const layout::Rect& rect) {
    clickAt(widget, centreOf(rect));
}

// Moves the pointer onto a point of the widget. The pointer first goes to the widget's corner:
// a pointer that is already at the point (left there by an earlier window) would not move.
inline void pointAt(QWidget* widget, QPoint point) {
    QTest::mouseMove(widget, QPoint(0, 0));
    QTest::mouseMove(widget, point);
}

// Waits for events (such as the 10 ms hover rest) until the condition holds; false when it
// never does.
inline bool waitUntil(const std::function<bool()>& condition) {
    for (int i = 0; i < 1000; ++i) {
        if (condition())
            return true;
        QTest::qWait(2);
    }
    return condition();
}

inline QWidget* childWithId(QWidget* dialog, int id) {
    for (QWidget* child : dialog->findChildren<QWidget*>()) {
        if (child->property(DialogFrame::kControlIdProperty).toInt() == id &&
            child->objectName() == QStringLiteral("id%1").arg(id))
            return child;
    }
    return nullptr;
}

template <class T> T* control(QWidget* dialog, int id) {
    return qobject_cast<T*>(childWithId(dialog, id));
}

} // namespace z417::test

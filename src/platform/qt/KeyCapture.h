// The key capture of the single key dialog: an application-wide event filter that sees every
// key press, auto-repeat and release while it is installed and names the key.
//
// The name comes from the native scan code first (on Qt's Linux platforms the XKB keycode,
// which is the evdev code + 8), so left and right modifiers, keypad keys and the navigation
// block get names of their own; where the platform gives no scan code, Qt's key code is named
// instead. Either way the key's keyboard usage is found and named by keyNameOfUsage. Names are
// cut to the 31 characters of the capture buffer. The capture only looks:
// every event goes on to its window as it would without it.
#pragma once

#include <QObject>
#include <QString>

class QKeyEvent;

namespace z417 {

// The name of the key of one key event; empty when the key has no name.
QString captureKeyName(const QKeyEvent& event);

// The name of a key by Qt's key code alone; keypad says whether the key lies on the keypad.
QString keyNameForQtKey(int qtKey, bool keypad);

class KeyCapture : public QObject {
    Q_OBJECT
public:
    explicit KeyCapture(QObject* parent = nullptr);
    ~KeyCapture() override;

    // Installs the filter on the application. Fails only when there is no application object.
    bool install();
    void remove();
    bool isInstalled() const { return installed_; }

signals:
    // Every key event while installed; the slot runs before the event goes on.
    void keyNamed(const QString& name);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool installed_ = false;
};

} // namespace z417

// The current skin: the one owner of its images, its text colour and the list accent.
//
// Images are decoded from the skin folder when first asked for and kept until release(); a
// file that changed or disappeared is noticed at the next request, so a missing file always
// draws nothing. Every part that draws takes its images from here and redraws when
// skinChanged() is emitted.
//
// A skin may hold only so many decoded pixels (pixelBudget()). Whether it fits is decided from
// the PNG headers before anything is decoded: a skin that does not fit is refused, and an image
// that would go beyond the budget later (a file changed meanwhile) draws nothing. No image is
// scaled up beyond the part the window can show.
//
// The folder is kept as the bytes the system gave for it, so a folder whose name is not UTF-8
// is still found. Image names are those of the layout ("/main.png"), appended as they stand.
#pragma once

#include "platform/Status.h"

#include <QColor>
#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

class QWidget;

namespace z417 {

class UiServices;

class Skin : public QObject {
    Q_OBJECT
public:
    explicit Skin(QObject* parent = nullptr);

    // Decoded pixels a skin may hold at a device pixel ratio: a generous multiple of what our
    // own skins need.
    static qint64 pixelBudget(qreal ratio);

    // Makes the skin in folder current with its text colour, for a window at ratio, and
    // announces it. Nothing is decoded yet. A skin whose images would need more than the
    // budget is refused: the skin in use stays, and the status names the refused one.
    Status load(const std::string& folder, const QColor& textColour, qreal ratio = 1.0);

    const std::string& folder() const { return folder_; }
    // The folder's own name, for showing.
    QString name() const;
    QColor textColour() const { return textColour_; }
    // Frames and scroll bars of lists: the mean colour of the lit report-rate segment, or the
    // text colour when that image is missing or fully clear.
    QColor accent() const;

    // The image at its natural size; null when it is missing or cannot be decoded.
    QImage image(const char* name) const;
    // The image at a device pixel ratio, carrying that ratio: above 1 the skin's name@2x.png
    // where it has one of the right size, else the image scaled smoothly. The plain file alone
    // decides whether the image exists.
    QImage image(const char* name, qreal ratio) const;
    // The size the image's file declares, without decoding it.
    std::optional<QSize> declaredSize(const char* name) const;

    // Drops every decoded image (a hidden window keeps none).
    void release();
    // Pixels decoded since the skin object was made.
    qint64 decodedPixels() const { return decodedPixels_; }

signals:
    void skinChanged();

private:
    struct Stamp {
        qint64 size = -1;
        qint64 mtimeNs = 0;
        bool operator==(const Stamp& o) const { return size == o.size && mtimeNs == o.mtimeNs; }
    };
    struct Entry {
        Stamp plain;
        Stamp doubled;
        QImage image;
    };

    // Without a folder there are no images (an empty path is never found).
    std::string pathOf(const char* name) const {
        return folder_.empty() ? std::string() : folder_ + name;
    }
    static std::optional<Stamp> stampOf(const std::string& path);
    QImage decode(const std::string& path) const;
    QImage scaledImage(const char* name, const QSize& declared, qreal ratio) const;
    // The cached image of key when its files are still those it was made from.
    const QImage* cached(const std::string& key, const Stamp& plain, const Stamp& doubled) const;
    QImage keep(const std::string& key, const Stamp& plain, const Stamp& doubled,
                QImage image) const;
    void forget(const std::string& key) const;

    // Pixels the skin in folder would hold and decode on the way, by the headers.
    static qint64 declaredPixels(const std::string& folder, qreal ratio);
    // Whether pixels more may be decoded now.
    bool withinBudget(qint64 pixels) const;

    std::string folder_;
    QColor textColour_;
    qreal ratio_ = 1.0;
    QSize windowSize_;
    mutable std::unordered_map<std::string, Entry> images_;
    mutable qint64 decodedPixels_ = 0;
    mutable qint64 heldPixels_ = 0;
    mutable qint64 accentKey_ = 0;
    mutable QColor accent_;
};

// Composes the skin's image onto the surface at the layout point (x, y), at the surface's
// device pixel ratio. The main window's form: a missing image draws nothing and says nothing.
bool drawSkinImage(QImage* surface, const Skin& skin, const char* name, int x, int y);

// The dialogs' form: a missing image shows "LoadPng---Load image failed." owned by owner.
bool drawSkinImage(QImage* surface, const Skin& skin, const char* name, int x, int y,
                   QWidget* owner, UiServices& services);

} // namespace z417

#include "ui/capture/ScreenCapture.h"

#include <algorithm>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include "core/Modes.h"
#include "files/CaptureNames.h"
#include "files/Playback.h"
#include "image/PaletteMatch.h"
#include "image/PngFile.h"
#include "image/ImageColorTable.h"
#include "ui/view/NightPalette.h"
#include "ui/view/SonarView.h"

namespace tidemar {

namespace {

constexpr const char* StripObjectName = "tidemarCaptureNameStrip";
const QRect StripRect(3, 492, 596, 17);  // window (3,492) up to, not including, (599,509)
const QRect ImageArea(ImageOffset, ImageOffset, ImageWidth, ImageHeight);

// The name strip over the bottom of the image. A widget of its own on top of the view, so
// that the pings drawn while it is shown do not wipe it out before its time.
class CaptureNameStrip : public QWidget {
public:
    CaptureNameStrip(SonarView* view) : QWidget(view), view_(view) {
        setObjectName(QString::fromLatin1(StripObjectName));
        view->PlaceChild(this, StripRect);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        timer_.setSingleShot(true);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { Remove(); });
    }

    void Show(const std::string& name) {
        name_ = name;
        raise();
        show();
        update();
        timer_.start(FrameCapturePauseMilliseconds);
    }
    const std::string& Name() const { return name_; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.scale(view_->Scale(), view_->Scale());
        const QRect area(QPoint(0, 0), StripRect.size());
        const QColor fill = view_->PaletteColor(CaptureNameIndex);
        painter.fillRect(area, fill);
        if (name_.empty()) return;
        painter.setClipRect(area);
        painter.setFont(view_->font());
        painter.setPen(view_->TextColor());
        // Text cell from window (5,494): two pixels in from the strip's corner.
        const QFontMetrics metrics(view_->font());
        painter.drawText(QPoint(2, 2 + metrics.ascent()), QString::fromStdString(name_));
    }

private:
    void Remove() {
        hide();
        view_->Repaint(ImageArea);
    }

    SonarView* view_;
    QTimer timer_;
    std::string name_;
};

CaptureNameStrip* FindStrip(const SonarView* view) {
    if (!view) return nullptr;
    return static_cast<CaptureNameStrip*>(
        view->findChild<QWidget*>(QString::fromLatin1(StripObjectName), Qt::FindDirectChildrenOnly));
}

// The wait cursor for the length of a capture.
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

bool CreateCaptureFile(BmpOutputFile& file, const std::string& name, Prompts& prompts, const char* caption,
                       bool pngToo) {
    if (!HasBmpExtension(name) && !(pngToo && HasPngExtension(name))) {
        prompts.Message(SaveScreenTitle, BmpExtensionMessage, MessageIcon::Exclamation);
        return false;
    }
    std::string reason;
    if (file.Create(name, &reason)) return true;
    prompts.Message(caption, "Cannot create " + name + ":\n" + reason, MessageIcon::Exclamation);
    return false;
}

bool WriteCapture(const CaptureScene& scene, BmpOutputFile& file, std::string* reason) {
    WaitCursor wait;
    const DisplayPalette palette = BuildDisplayPalette(*scene.Colors);
    const std::vector<uint8_t> pixels = CaptureWindowIndexes(scene.Window, palette);
    const PictureFormat format = HasPngExtension(file.Path()) ? PictureFormat::Png : PictureFormat::Bmp;
    const std::vector<uint8_t> bytes =
        IndexedPictureBytes(format, CaptureWidth, CaptureHeight, pixels.data(), BmpColorTable(palette), reason);
    if (bytes.empty()) {
        file.Discard();
        return false;
    }
    return file.WriteAndClose(bytes, reason);
}

void StopAutoFrameCapture(SonarState& state, WindowChrome& chrome) {
    state.AutoFrameCaptureOn = 0;
    chrome.SetMenuText(AutoFrameCaptureMenuItem, AutoFrameCaptureStartText);
}

}  // namespace

FileDialogRequest SaveScreenDialog() {
    FileDialogRequest request;
    request.Title = SaveScreenTitle;
    request.FilterName = "BITMAP File    (*.BMP)";
    request.Pattern = "*.BMP";
    request.DefaultExtension = "BMP";
    request.PromptOverwrite = true;
    request.HideReadOnly = true;
    request.PathMustExist = true;
    request.MoreFilters.push_back({"PNG File    (*.PNG)", "*.PNG", "PNG"});
    return request;
}

bool SaveScreenAs(BmpOutputFile& file, const SonarState& state, Prompts& prompts, bool autoName) {
    std::string name;
    if (autoName) {
        name = ProfileCaptureName("", state, ".BMP");
    } else {
        const std::optional<std::string> chosen = prompts.SaveFileName(SaveScreenDialog());
        if (!chosen || chosen->empty()) return false;
        name = *chosen;
    }
    return CreateCaptureFile(file, name, prompts, SaveScreenTitle, !autoName);
}

bool WriteScreenBmp(const CaptureScene& scene, BmpOutputFile& file, Prompts& prompts) {
    const std::string name = file.Path();
    std::string reason;
    if (WriteCapture(scene, file, &reason)) return true;
    prompts.Message(SaveScreenTitle, "Cannot write to " + name + ":\n" + reason, MessageIcon::Exclamation);
    return false;
}

bool SaveScreen(const CaptureScene& scene, Prompts& prompts, bool autoName) {
    BmpOutputFile file;
    return SaveScreenAs(file, *scene.State, prompts, autoName) && WriteScreenBmp(scene, file, prompts);
}

bool FrameCapture(const CaptureScene& scene, const std::string& playedFile, Prompts& prompts, WindowChrome& chrome) {
    SonarState& state = *scene.State;
    const std::string name = FrameCaptureName(playedFile);
    ShowCaptureName(scene.View, name);
    BmpOutputFile file;
    std::string reason;
    if (!HasBmpExtension(name)) {
        prompts.Message(SaveScreenTitle, BmpExtensionMessage, MessageIcon::Exclamation);
        return false;
    }
    if (!file.Create(name, &reason)) {
        StopAutoFrameCapture(state, chrome);
        prompts.Message(AutoFrameCaptureCaption, "Cannot create " + name + ":\n" + reason + "\n\nCapture Stopped!",
                        MessageIcon::Exclamation);
        return false;
    }
    if (!WriteCapture(scene, file, &reason)) {
        StopAutoFrameCapture(state, chrome);
        prompts.Message(AutoFrameCaptureCaption, "Cannot write to " + name + ":\n" + reason + "\n\nCapture Stopped!",
                        MessageIcon::Exclamation);
        return false;
    }
    return true;
}

void ToggleAutoFrameCapture(SonarState& state, Prompts& prompts, WindowChrome& chrome) {
    if (state.RunMode != DataSource::File) return;
    if (state.AutoFrameCaptureOn) {
        StopAutoFrameCapture(state, chrome);
        prompts.Message(AutoFrameCaptureCaption, "Capture Stopped!", MessageIcon::None);
    } else {
        state.AutoFrameCaptureOn = 1;
        chrome.SetMenuText(AutoFrameCaptureMenuItem, AutoFrameCaptureStopText);
        prompts.Message(AutoFrameCaptureCaption, "Capture Started...", MessageIcon::None);
    }
}

void ShowCaptureName(SonarView* view, const std::string& name) {
    if (!view) return;
    CaptureNameStrip* strip = FindStrip(view);
    if (!strip) strip = new CaptureNameStrip(view);
    strip->Show(name);
}

std::optional<std::string> ShownCaptureName(const SonarView* view) {
    const CaptureNameStrip* strip = FindStrip(view);
    if (!strip || strip->isHidden()) return std::nullopt;
    return strip->Name();
}

std::vector<uint8_t> CaptureWindowIndexes(QWidget* window, const DisplayPalette& palette) {
    // The strip is the capture's own announcement, not part of the picture.
    QWidget* strip = window->findChild<QWidget*>(QString::fromLatin1(StripObjectName));
    const bool stripShown = strip && !strip->isHidden();
    if (stripShown) strip->hide();

    QImage screen(CaptureWidth, CaptureHeight, QImage::Format_RGB32);
    screen.fill(Qt::black);
    {
        // The window as it is at 100% in the day colours, whatever the screen shows: the
        // menu bar above the client area in the day palette, then the client area drawn
        // anew at its logical size (so also one window pixel per pixel on a high-density
        // screen).
        QPainter painter(&screen);
        SonarView* view = window->findChild<SonarView*>();
        const int viewTop = view ? view->mapTo(window, QPoint(0, 0)).y() : CaptureHeight;
        const bool night = NightPaletteApplied();
        if (night) window->setPalette(DayPalette());
        window->render(&painter, QPoint(0, 0), QRegion(0, 0, CaptureWidth, std::min(viewTop, CaptureHeight)));
        if (view) {
            if (night) view->setPalette(DayPalette());
            view->RenderDay(painter, QPoint(0, viewTop));
            if (night) view->setPalette(QPalette());
        }
        if (night) window->setPalette(QPalette());
    }
    if (stripShown) strip->show();

    std::vector<uint8_t> indexes(static_cast<size_t>(CaptureWidth) * CaptureHeight);
    PaletteMatch match(palette);
    for (int y = 0; y < CaptureHeight; ++y)
        match.MapRow(reinterpret_cast<const uint32_t*>(screen.constScanLine(y)), CaptureWidth,
                     indexes.data() + static_cast<size_t>(y) * CaptureWidth);
    return indexes;
}

}  // namespace tidemar

#include "ui/window/MainMenu.h"

#include <QMenu>
#include <QMenuBar>

#include "platform/QtPrompts.h"

namespace tidemar {

namespace {

struct MenuItem {
    int Id;  // 0: separator
    const char* Text;
    bool Checkable;
};

QAction* AddItem(QMenu* menu, const MenuItem& item, QObject* receiver, void (*onCommand)(QObject*, int)) {
    if (item.Id == 0) return menu->addSeparator();
    QAction* action = menu->addAction(QString::fromLatin1(item.Text));
    action->setProperty(CommandIdProperty, item.Id);
    action->setCheckable(item.Checkable);
    const int id = item.Id;
    QObject::connect(action, &QAction::triggered, receiver, [receiver, onCommand, id] { onCommand(receiver, id); });
    return action;
}

void AddItems(QMenu* menu, std::initializer_list<MenuItem> items, QObject* receiver, void (*onCommand)(QObject*, int)) {
    for (const MenuItem& item : items) AddItem(menu, item, receiver, onCommand);
}

}  // namespace

void BuildMainMenu(QMenuBar* bar, QObject* receiver, void (*onCommand)(QObject* receiver, int id)) {
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    AddItems(file,
             {{Command::Playback, "&Playback...", false},
              {Command::RecordStart, "&Record Start...", false},
              {Command::CopyStart, "&Copy Start...", false},
              {0, nullptr, false},
              {Command::SaveScreen, "&Save Screen...", false},
              {Command::AutoFrameCapture, "&Auto Frame Capture Start...", false},
              {Command::ExportVideo, "Export &Video...", false},
              {Command::PrintScreen, "Pr&int Screen...", false},
              {0, nullptr, false},
              {Command::Exit, "E&xit", false}},
             receiver, onCommand);

    QMenu* display = bar->addMenu(QStringLiteral("&Display"));
    QMenu* colors = display->addMenu(QStringLiteral("&Color Table"));
    AddItems(colors,
             {{80, "Norm &Hi", true},
              {81, "Norm &Lo", true},
              {82, "Gr&een", true},
              {83, "&Grey", true},
              {84, "&Rev Grey", true},
              {85, "&Brown/Yellow", true},
              {86, "Green/Bl&ue", true},
              {87, "Green/&Yellow", true},
              {88, "Blu&e", true}},
             receiver, onCommand);
    AddItems(display,
             {{Command::GridOnOff, "&Grid On/Off", true},
              {Command::ClearScreen, "&Clear Screen Now", false},
              {Command::PixelZoom, "Pixel &Zoom (x2)", true}},
             receiver, onCommand);
    QMenu* zoom = display->addMenu(QStringLiteral("Zoo&m"));
    AddItems(zoom,
             {{Command::Zoom100, "&100%", true},
              {Command::Zoom150, "1&50%", true},
              {Command::Zoom200, "&200%", true},
              {Command::ZoomFit, "&Fit to Screen", true}},
             receiver, onCommand);
    AddItems(display, {{Command::NightColors, "Nig&ht Colors", true}, {0, nullptr, false}}, receiver, onCommand);
    QMenu* units = display->addMenu(QStringLiteral("U&nits"));
    AddItems(units, {{Command::Meters, "&Meters", true}, {Command::Feet, "&Feet", true}}, receiver, onCommand);
    QMenu* xdcr = display->addMenu(QStringLiteral("&Transducer"));
    AddItems(xdcr, {{Command::XdcrUp, "&Up", true}, {Command::XdcrDown, "&Down", true}}, receiver, onCommand);
    AddItems(display,
             {{Command::SoundVelocity, "&Sound Velocity...", false},
              {Command::OffsetAngle, "R&otate Sonar Image...", false},
              {Command::UserText, "User &Text...", false}},
             receiver, onCommand);

    QMenu* sonar = bar->addMenu(QStringLiteral("&Sonar"));
    AddItems(sonar,
             {{Command::Settings, "&Settings", false},
              {Command::ComPorts, "Com Po&rts", false},
              {Command::CalibrateHead, "&Calibrate Sonar Head", false},
              {0, nullptr, false},
              {Command::Diagnostics, "&Diagnostics", false},
              {Command::HeadScan, "Scan For Connected &Heads", true}},
             receiver, onCommand);

    QMenu* profile = bar->addMenu(QStringLiteral("&Profile"));
    QMenu* mode = profile->addMenu(QStringLiteral("&Mode"));
    AddItems(mode,
             {{950, "&Off", true},
              {951, "&Points Only", true},
              {952, "&Low Mix", true},
              {953, "&Med Mix", true},
              {954, "&High Mix", true}},
             receiver, onCommand);
    AddItems(profile,
             {{Command::ProfileSetup, "&Profile Setup...", false},
              {Command::AutoProfile, "&Auto-Profile...", false},
              {0, nullptr, false},
              {Command::ProfileGrid, "Profile &Grid", true},
              {Command::ZeroDown, "&Zero Down", true}},
             receiver, onCommand);

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    AddItems(help, {{Command::About, "&About", false}}, receiver, onCommand);

    if (QAction* zeroDown = FindCommandAction(bar, Command::ZeroDown)) zeroDown->setEnabled(false);
}

}  // namespace tidemar

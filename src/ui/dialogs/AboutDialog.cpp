#include "ui/dialogs/AboutDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/Prompts.h"
#include "ui/view/Logo.h"
#include "ui/dialogs/PlaceDialog.h"
#include "ui_core/DialogPlacement.h"

namespace tidemar {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    const QString program = QString::fromLatin1(ProgramTitle);
    setWindowTitle(QStringLiteral("About ") + program);
    setModal(true);

    // The program's own logo, drawn as at start-up.
    QPixmap picture(QSize(240, 120) * devicePixelRatioF());
    picture.setDevicePixelRatio(devicePixelRatioF());
    picture.fill(Qt::black);
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        PaintLogo(painter, QRect(0, 0, 240, 120));
    }
    auto* logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("Logo"));
    logo->setAlignment(Qt::AlignCenter);
    logo->setPixmap(picture);

    auto* name = new QLabel(program, this);
    QFont large = name->font();
    large.setBold(true);
    large.setPointSizeF(large.pointSizeF() * 1.4);
    name->setFont(large);
    name->setAlignment(Qt::AlignCenter);
    auto* what = new QLabel(QStringLiteral("Control and display program\nfor digital scanning sonar heads"), this);
    what->setAlignment(Qt::AlignCenter);
    auto* version = new QLabel(QStringLiteral("Version ") + QString::fromLatin1(TIDEMAR_VERSION), this);
    version->setObjectName(QStringLiteral("Version"));
    version->setAlignment(Qt::AlignCenter);

    ok_ = new QPushButton(QStringLiteral("Ok"), this);
    ok_->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addStretch();
    layout->addWidget(logo);
    layout->addWidget(name);
    layout->addWidget(what);
    layout->addWidget(version);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    PlaceDialog(this, parent, AboutDialogUnitsWide, AboutDialogUnitsHigh);
}

}  // namespace tidemar

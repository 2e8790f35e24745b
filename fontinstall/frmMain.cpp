#include "frmMain.h"

#include "FontInstaller.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace runek {

namespace {

// A font sheet with Cyrillic letters dropping into a folder.
QPixmap drawPicture()
{
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    QPixmap picture(QSize(96, 96) * ratio);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);

    // the folder
    QPainterPath folder;
    folder.moveTo(8, 52);
    folder.lineTo(30, 52);
    folder.lineTo(36, 58);
    folder.lineTo(88, 58);
    folder.lineTo(88, 90);
    folder.lineTo(8, 90);
    folder.closeSubpath();
    p.setPen(QPen(QColor(150, 110, 20), 1.5));
    p.setBrush(QColor(240, 196, 80));
    p.drawPath(folder);

    // the sheet with its folded corner
    QPainterPath sheet;
    sheet.moveTo(26, 6);
    sheet.lineTo(62, 6);
    sheet.lineTo(74, 18);
    sheet.lineTo(74, 72);
    sheet.lineTo(26, 72);
    sheet.closeSubpath();
    p.setPen(QPen(QColor(90, 90, 90), 1.5));
    p.setBrush(Qt::white);
    p.drawPath(sheet);
    p.drawPolyline(QPolygonF({QPointF(62, 6), QPointF(62, 18), QPointF(74, 18)}));

    QFont letters = p.font();
    letters.setPixelSize(20);
    letters.setBold(true);
    p.setFont(letters);
    p.setPen(QColor(20, 60, 150));
    p.drawText(QRectF(26, 16, 48, 34), Qt::AlignCenter, QStringLiteral("\u0416\u0459"));

    // the folder's front flap over the sheet
    p.setPen(QPen(QColor(150, 110, 20), 1.5));
    p.setBrush(QColor(250, 212, 110));
    p.drawPolygon(QPolygonF({QPointF(6, 64), QPointF(90, 64), QPointF(86, 90), QPointF(10, 90)}));
    return picture;
}

} // namespace

frmMain::frmMain(const QString &programFolder, const QString &fontsFolder, QWidget *parent)
    : QWidget(parent), m_programFolder(programFolder), m_fontsFolder(fontsFolder)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Runek"));

    m_image = new QLabel(this);
    m_image->setObjectName(QStringLiteral("Image1"));
    m_image->setPixmap(drawPicture());
    m_image->setFixedSize(96, 96);

    m_label = new QLabel(QStringLiteral("Instalacija fontova u toku... Molimo Vas, sacekajte!"), this);
    m_label->setObjectName(QStringLiteral("Label1"));
    m_label->setWordWrap(true);
    m_label->setMinimumWidth(220);

    m_install = new QPushButton(QStringLiteral("Install Fonts"), this);
    m_install->setObjectName(QStringLiteral("Command3"));

    auto *row = new QHBoxLayout;
    row->addWidget(m_image);
    row->addWidget(m_label, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_install);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons);

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("tmrStart"));
    m_timer->setInterval(1500);

    connect(m_timer, &QTimer::timeout, this, &frmMain::tmrStart_Timer);
    connect(m_install, &QPushButton::clicked, this, &frmMain::Command3_Click);
}

void frmMain::start()
{
    adjustSize();
    if (QScreen *screen = this->screen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - frameGeometry().width()) / 2,
             area.y() + (area.height() - frameGeometry().height()) / 2);
    }
    m_timer->start();
}

void frmMain::tmrStart_Timer()
{
    m_timer->stop();
    InstallFonts(m_programFolder, m_fontsFolder, RegisterFont, [] { QCoreApplication::processEvents(); });
    emit finished();
}

void frmMain::Command3_Click()
{
    InstallFromFontsIni(m_programFolder, m_fontsFolder, RegisterFont,
                        [] { QCoreApplication::processEvents(); });
}

} // namespace runek

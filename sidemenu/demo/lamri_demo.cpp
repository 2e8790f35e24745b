// Draws a LamriBar with the navigation panel's three menus into PNG files:
//   lamri-demo OUTDIR      (QT_QPA_PLATFORM=offscreen works)
// menu1.png .. menu3.png with each menu open, slide-NN.png frames of the slide from
// menu 1 to menu 3, short.png/scrolled.png a short bar before and after one click on
// the down arrow, hover.png/pressed.png an item under the pointer.
#include "LamriBar.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <cstdio>

static QImage letterIcon(QColor colour, QChar letter)
{
    QImage img(32, 32, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(colour);
    p.setPen(colour.darker(160));
    p.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 5, 5);
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(18);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, 32, 32), Qt::AlignCenter, QString(letter));
    return img;
}

static void wait(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

static void mouse(LamriBar &bar, QEvent::Type type, QPoint at)
{
    QMouseEvent e(type, at, bar.mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                  type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&bar, &e);
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: lamri-demo OUTDIR\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    LamriBar::setMessageHandler([](const QString &text, const QString &) {
        std::fprintf(stderr, "%s\n", qPrintable(text));
    });

    QWidget host;
    host.resize(130, 653);
    LamriBar bar(&host);
    bar.setObjectName(QStringLiteral("LamriBar1"));
    bar.setGeometry(0, 0, 130, 653);
    const QList<QPair<QString, QStringList>> menus = {
        {QStringLiteral("Programski Podaci"),
         {"Zaglavlje Isecka", "Odeljenja", "Artikli", "Kasiri", "Opsti Podaci", "Valute", "Reklamna Poruka",
          "Jedinice Mere", "Tipovi Artikala"}},
        {QStringLiteral("Komunikacija"),
         {"Konekcija", "Provera Veze", "Slanje Grafickog Loga", "Slanje Podataka", "Prijem Podataka",
          "Citanje Fiskalne Memorije", "Citanje Programa", "Emulacija Tastature"}},
        {QStringLiteral("Prodajnost"), {"Artikli", "Prodati Artikli", "Odeljenja", "Kasiri", "Poreske Stope"}}};
    const QColor colours[] = {QColor(0, 100, 180), QColor(0, 140, 70), QColor(180, 90, 0)};
    bar.setMenuMax(int(menus.size()));
    for (int m = 1; m <= int(menus.size()); ++m) {
        bar.setMenuCorrente(m);
        bar.finishAnimation();
        bar.setMenuNome(menus[m - 1].first);
        const QStringList &items = menus[m - 1].second;
        bar.setSottoMenuMax(int(items.size()));
        for (int s = 1; s <= int(items.size()); ++s) {
            bar.setSottoMenuCorrente(s);
            bar.setSottoMenuNome(items[s - 1]);
            if (s != 2) // item 2 keeps the default icon
                bar.setSottoMenuIcona(letterIcon(colours[m - 1], items[s - 1].at(0)));
        }
    }
    bar.setMenuCorrente(1);
    bar.finishAnimation();
    host.show();
    wait(50);

    for (int m = 1; m <= 3; ++m) {
        bar.setMenuCorrente(m);
        bar.finishAnimation();
        bar.surface().save(out + QStringLiteral("/menu%1.png").arg(m));
    }
    bar.setMenuCorrente(1);
    bar.finishAnimation();
    bar.setMenuCorrente(3); // slide, captured as it runs
    int frame = 0;
    while (bar.isAnimating() && frame < 60) {
        bar.surface().save(out + QStringLiteral("/slide-%1.png").arg(frame++, 2, 10, QLatin1Char('0')));
        wait(30);
    }
    bar.setMenuCorrente(2);
    bar.finishAnimation();
    bar.resize(130, 400); // too short for menu 2: the down arrow shows
    bar.surface().save(out + QStringLiteral("/short.png"));
    const QPoint down = bar.arrowRect(-1).center();
    if (bar.isArrowShown(-1)) {
        mouse(bar, QEvent::MouseButtonPress, down);
        mouse(bar, QEvent::MouseButtonRelease, down);
        wait(300);
        bar.surface().save(out + QStringLiteral("/scrolled.png"));
    }
    bar.resize(130, 653);
    bar.setMenuCorrente(1);
    bar.finishAnimation();
    const QPoint onItem = bar.itemIconRect(3).center();
    mouse(bar, QEvent::MouseMove, onItem);
    bar.surface().save(out + QStringLiteral("/hover.png"));
    mouse(bar, QEvent::MouseButtonPress, onItem);
    bar.surface().save(out + QStringLiteral("/pressed.png"));
    std::printf("%d slide frames written to %s\n", frame, qPrintable(out));
    return 0;
}

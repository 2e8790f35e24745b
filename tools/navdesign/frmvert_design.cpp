// Writes the navigation panel's design: the three menus of LamriBar1 with their items'
// captions, keys, tags and icons, as the control's own property bag (ini text).
//
//   frmvert-design <icons folder> <output ini>
//
// Each icon is an SVG drawn on a 32x32 grid, rendered here at 32x32 and stored in the bag
// as a picture (the control sits on a form, so it writes pictures, not addresses).
#include "LamriBar.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextStream>

#include <cstdio>

namespace {

struct Item {
    const char *caption;
    const char *key;  // also the tag
    const char *icon; // file name without ".svg"
};

struct Menu {
    const char *caption;
    std::vector<Item> items;
};

const std::vector<Menu> kMenus = {
    {"Programski Podaci",
     {{"Zaglavlje Isecka", "Zaglavlje", "zaglavlje"},
      {"Odeljenja", "Odeljenje", "odeljenja"},
      {"Artikli", "PLU", "artikli"},
      {"Kasiri", "Kasiri", "kasiri"},
      {"Opsti Podaci", "Sisitem", "sistem"},
      {"Valute", "Valute", "valute"},
      {"Reklamna Poruka", "Poruka", "poruka"},
      {"Jedinice Mere", "JM", "jedinice"},
      {"Tipovi Artikala", "TA", "tipovi"}}},
    {"Komunikacija",
     {{"Konekcija", "AP", "konekcija"},
      {"Provera Veze", "TC", "provera"},
      {"Slanje Grafickog Loga", "SG", "logo"},
      {"Slanje Podataka", "SD", "slanje"},
      {"Prijem Podataka", "RD", "prijem"},
      {"Citanje Fiskalne Memorije", "RFM", "fiskalna"},
      {"Citanje Programa", "RP", "program"},
      {"Emulacija Tastature", "ET", "tastatura"}}},
    {"Prodajnost",
     {{"Artikli", "PS", "prodaja_artikli"},
      {"Prodati Artikli", "PS", "prodati"},
      {"Odeljenja", "DS", "prodaja_odeljenja"},
      {"Kasiri", "CS", "prodaja_kasiri"},
      {"Poreske Stope", "VS", "stope"}}},
};

QImage render(const QString &path)
{
    QSvgRenderer svg(path);
    if (!svg.isValid())
        return {};
    QImage image(LamriBar::kIconSize, LamriBar::kIconSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    svg.render(&p, QRectF(0, 0, LamriBar::kIconSize, LamriBar::kIconSize));
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: frmvert-design <icons folder> <output ini>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]) + QLatin1Char('/');

    QWidget form; // on a form: icons are written as pictures
    auto *bar = new LamriBar(&form);
    bar->setObjectName(QStringLiteral("LamriBar1"));
    bar->setMenuMax(int(kMenus.size()));
    for (int m = 1; m <= int(kMenus.size()); ++m) {
        const Menu &menu = kMenus[size_t(m - 1)];
        bar->setMenuCorrente(m);
        bar->setMenuNome(QString::fromLatin1(menu.caption));
        bar->setSottoMenuMax(int(menu.items.size()));
        for (int s = 1; s <= int(menu.items.size()); ++s) {
            const Item &item = menu.items[size_t(s - 1)];
            const QImage icon = render(folder + QString::fromLatin1(item.icon) + QStringLiteral(".svg"));
            if (icon.isNull()) {
                std::fprintf(stderr, "cannot render %s.svg\n", item.icon);
                return 1;
            }
            bar->setSottoMenuCorrente(s);
            bar->setSottoMenuNome(QString::fromLatin1(item.caption));
            bar->setSottoMenuChiave(QString::fromLatin1(item.key));
            bar->setSottoMenuTag(QString::fromLatin1(item.key));
            bar->setSottoMenuIcona(icon);
        }
    }
    bar->setMenuAvvio(1);
    bar->setMenuCorrente(1);
    if (!bar->writeProperties(QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}

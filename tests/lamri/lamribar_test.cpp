// LamriBar: property rules and messages, geometry of buttons and items, the slide and
// the scroll, mouse handling, the property bag, the property pages and the Designer
// plugin. Runs offscreen; messages are captured through the control's message hook.
#include "LamriBar.h"
#include "LamriPropertyBag.h"
#include "LamriPropertyPages.h"
#include "TestSupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QPluginLoader>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#include <memory>

namespace {

struct Message {
    QString text, title;
};

std::vector<Message> g_messages;

struct Host {
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    LamriBar *bar = nullptr;
};

// A shown control of the given size on a host window, named as the program names it.
Host makeBar(int w = 120, int h = 400)
{
    Host host;
    host.window->resize(w, h);
    host.bar = new LamriBar(host.window.get());
    host.bar->setObjectName(QStringLiteral("LamriBar1"));
    host.bar->setGeometry(0, 0, w, h);
    host.window->show();
    return host;
}

// Menus with the given item counts; captions "M<m>", items "I<m>.<s>", keys and tags.
void fill(LamriBar *bar, const std::vector<int> &itemCounts)
{
    bar->setMenuMax(int(itemCounts.size()));
    for (int m = 1; m <= int(itemCounts.size()); ++m) {
        bar->setMenuCorrente(m);
        bar->finishAnimation();
        bar->setMenuNome(QStringLiteral("M%1").arg(m));
        bar->setSottoMenuMax(itemCounts[size_t(m - 1)]);
        for (int s = 1; s <= itemCounts[size_t(m - 1)]; ++s) {
            bar->setSottoMenuCorrente(s);
            bar->setSottoMenuNome(QStringLiteral("I%1.%2").arg(m).arg(s));
            bar->setSottoMenuChiave(QStringLiteral("K%1%2").arg(m).arg(s));
            bar->setSottoMenuTag(QStringLiteral("T%1%2").arg(m).arg(s));
        }
    }
    bar->setMenuCorrente(1);
    bar->finishAnimation();
}

QImage solidIcon(QColor colour, int side = 32)
{
    QImage img(side, side, QImage::Format_ARGB32);
    img.fill(colour);
    return img;
}

bool samePixels(const QImage &a, const QImage &b)
{
    return a.convertToFormat(QImage::Format_ARGB32) == b.convertToFormat(QImage::Format_ARGB32);
}

void click(QWidget *w, QPoint at)
{
    QTest::mousePress(w, Qt::LeftButton, {}, at);
    QTest::mouseRelease(w, Qt::LeftButton, {}, at);
}

// Menu button faces are the cache's rows 0-17; the rest of the control is background.
// (x = 5: inside the face's edge, left of any caption)
QRgb facePixel(const LamriBar *bar) { return bar->cache().pixel(5, 9); }
QRgb backgroundPixel(const LamriBar *bar) { return bar->cache().pixel(5, 21); }

} // namespace

class LamriBarTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        LamriBar::setMessageHandler([](const QString &text, const QString &title) {
            g_messages.push_back({text, title});
        });
    }
    void init() { g_messages.clear(); }

    void newControl()
    {
        Host h = makeBar();
        LamriBar *bar = h.bar;
        QCOMPARE(bar->MenuMax(), 1);
        QCOMPARE(bar->MenuCorrente(), 1);
        QCOMPARE(bar->MenuAvvio(), 1);
        QCOMPARE(bar->MenuNome(), QStringLiteral("Menu1"));
        QCOMPARE(bar->SottoMenuMax(), 1);
        QCOMPARE(bar->SottoMenuNome(), QStringLiteral("SottoMenu"));
        QVERIFY(samePixels(bar->SottoMenuIcona(), bar->defaultIcon()));
        QCOMPARE(bar->defaultIcon().size(), QSize(32, 32));
        QCOMPARE(bar->Enabled(), false);
        // the cache: one item, 68 + 32 rows
        QCOMPARE(bar->cache().height(), 100);
        QVERIFY(g_messages.empty());
    }

    // Refused values: message, title, and nothing changed.
    void refusedValues_data()
    {
        QTest::addColumn<QString>("property");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("message");
        const QString menuMax = QStringLiteral("La proprietà MenuMax deve essere compresa tra 0 e 6");
        const QString itemMax = QStringLiteral("La proprietà SottoMenuMax deve essere compresa tra 0 e 10");
        const QString current = QStringLiteral("Il valore corrente deve essere compreso tra 0 e SottoMenuMax");
        QTest::newRow("MenuMax 7") << "MenuMax" << 7 << menuMax;
        QTest::newRow("MenuMax -1") << "MenuMax" << -1 << menuMax;
        QTest::newRow("SottoMenuMax 11") << "SottoMenuMax" << 11 << itemMax;
        QTest::newRow("SottoMenuMax -1") << "SottoMenuMax" << -1 << itemMax;
        QTest::newRow("SottoMenuCorrente past the items") << "SottoMenuCorrente" << 4 << current;
        QTest::newRow("SottoMenuCorrente negative") << "SottoMenuCorrente" << -1 << current;
    }
    void refusedValues()
    {
        QFETCH(QString, property);
        QFETCH(int, value);
        QFETCH(QString, message);
        Host h = makeBar();
        fill(h.bar, {3, 2});
        h.bar->setSottoMenuCorrente(2);
        const int before = h.bar->property(property.toLatin1()).toInt();
        QSignalSpy changes(h.bar, &LamriBar::PropertyChanged);
        QVERIFY(h.bar->setProperty(property.toLatin1(), value));
        QCOMPARE(int(g_messages.size()), 1);
        QCOMPARE(g_messages[0].text, message);
        QCOMPARE(g_messages[0].title, QStringLiteral("LamriBar1"));
        QCOMPARE(h.bar->property(property.toLatin1()).toInt(), before);
        QCOMPARE(h.bar->MenuMax(), 2);
        QCOMPARE(h.bar->menuCaption(2), QStringLiteral("M2"));
        QCOMPARE(h.bar->SottoMenuMax(), 3);
        QCOMPARE(h.bar->SottoMenuCorrente(), 2);
        QCOMPARE(changes.count(), 0);
    }

    void menuMaxGrowsAndShrinks()
    {
        Host h = makeBar();
        LamriBar *bar = h.bar;
        bar->setMenuMax(3);
        QVERIFY(g_messages.empty());
        QCOMPARE(bar->menuCaption(1), QStringLiteral("Menu1"));
        QCOMPARE(bar->menuCaption(2), QStringLiteral("Menu2"));
        QCOMPARE(bar->menuCaption(3), QStringLiteral("Menu3"));
        for (int m = 2; m <= 3; ++m) {
            QCOMPARE(bar->menuItemCount(m), 1);
            QCOMPARE(bar->itemCaption(m, 1), QStringLiteral("SottoMenu"));
            QVERIFY(samePixels(bar->itemIcon(m, 1), bar->defaultIcon()));
        }
        QCOMPARE(bar->cache().height(), 68 + 3 * 32);
        // deleting the open menu moves the selection to the new last menu
        bar->setMenuCorrente(3);
        bar->setMenuMax(2);
        QCOMPARE(bar->MenuCorrente(), 2);
        QCOMPARE(bar->MenuNome(), QStringLiteral("Menu2"));
        QCOMPARE(bar->cache().height(), 68 + 2 * 32);
        bar->setMenuMax(0);
        QCOMPARE(bar->MenuMax(), 0);
        bar->setSottoMenuNome(QStringLiteral("nowhere")); // no menu: ignored, no crash
        bar->setMenuMax(1);
        QCOMPARE(bar->MenuCorrente(), 1);
    }

    void sottoMenuMaxGrowsAndShrinks()
    {
        Host h = makeBar();
        LamriBar *bar = h.bar;
        bar->setSottoMenuMax(3);
        QVERIFY(g_messages.empty());
        QCOMPARE(bar->itemCaption(1, 1), QStringLiteral("SottoMenu"));
        QCOMPARE(bar->itemCaption(1, 2), QStringLiteral("SottoMenu2"));
        QCOMPARE(bar->itemCaption(1, 3), QStringLiteral("SottoMenu3"));
        QCOMPARE(bar->cache().height(), 68 + 3 * 32);
        bar->setSottoMenuCorrente(3);
        bar->setSottoMenuMax(2);
        QCOMPARE(bar->SottoMenuCorrente(), 2);
        QCOMPARE(bar->menuItemCount(1), 2);
    }

    void menuCorrenteSelects()
    {
        Host h = makeBar();
        fill(h.bar, {2, 5, 1});
        h.bar->setSottoMenuCorrente(2);
        h.bar->setMenuCorrente(2);
        QCOMPARE(h.bar->SottoMenuCorrente(), 1);
        QCOMPARE(h.bar->SottoMenuMax(), 5);
        QCOMPARE(h.bar->MenuNome(), QStringLiteral("M2"));
        // a menu that does not exist is not opened
        for (int bad : {0, 4, -3}) {
            h.bar->setMenuCorrente(bad);
            QCOMPARE(h.bar->MenuCorrente(), 2);
        }
        QVERIFY(g_messages.empty());
    }

    void cacheHoldsEveryIcon()
    {
        Host h = makeBar();
        fill(h.bar, {2, 1});
        h.bar->setMenuCorrente(2);
        h.bar->setSottoMenuCorrente(1);
        h.bar->setSottoMenuIcona(solidIcon(Qt::red, 64)); // scaled to 32x32
        h.bar->finishAnimation();
        const QImage &cache = h.bar->cache();
        QCOMPARE(cache.height(), 68 + 3 * 32);
        // item g = 2 (third of all items) at row 68 + 64
        QCOMPARE(QColor(cache.pixel(16, 68 + 64 + 16)), QColor(Qt::red));
        QVERIFY(QColor(cache.pixel(16, 68 + 16)) != QColor(Qt::red));
        // and the open menu shows it, copied from there
        const QRect icon = h.bar->itemIconRect(1);
        QCOMPARE(QColor(h.bar->surface().pixel(icon.center())), QColor(Qt::red));
        // an unreadable picture falls back to the default icon
        h.bar->setSottoMenuIcona(QImage());
        QVERIFY(samePixels(h.bar->SottoMenuIcona(), h.bar->defaultIcon()));
    }

    void buttonsAndSlide()
    {
        const int H = 400;
        Host h = makeBar(120, H);
        LamriBar *bar = h.bar;
        fill(bar, {3, 3, 3});
        QCOMPARE(bar->menuButtonRect(1).top(), 0);
        QCOMPARE(bar->menuButtonRect(2).top(), H - 36);
        QCOMPARE(bar->menuButtonRect(3).top(), H - 18);
        QCOMPARE(bar->surface().pixel(5, H - 36 + 9), facePixel(bar));
        QCOMPARE(bar->surface().pixel(5, 40), backgroundPixel(bar));
        // items of menu 1: rows 64 apart from y = 32
        QCOMPARE(bar->itemIconRect(1), QRect(60 - 16, 32, 32, 32));
        QCOMPARE(bar->itemIconRect(2).top(), 96);

        click(bar, QPoint(60, H - 9)); // menu 3's button
        QCOMPARE(bar->MenuCorrente(), 3);
        QVERIFY(bar->isAnimating()); // the slide runs on a timer, the click returned
        QCOMPARE(bar->menuButtonRect(3).top(), 36); // laid out for hit testing at once
        QTRY_VERIFY(!bar->isAnimating());
        for (int m = 1; m <= 3; ++m)
            QCOMPARE(bar->menuButtonRect(m).top(), (m - 1) * 18);
        QCOMPARE(bar->surface().pixel(5, 36 + 9), facePixel(bar));
        QCOMPARE(bar->surface().pixel(5, H - 9), backgroundPixel(bar));
        QCOMPARE(bar->itemIconRect(1).top(), 64 + 2 * 18 - 32);

        // and back: menus 2 and 3 return to the bottom
        click(bar, QPoint(60, 9));
        QTRY_VERIFY(!bar->isAnimating());
        QCOMPARE(bar->menuButtonRect(2).top(), H - 36);
        QCOMPARE(bar->surface().pixel(5, H - 36 + 9), facePixel(bar));
        QCOMPARE(bar->surface().pixel(5, 45), backgroundPixel(bar));
    }

    void itemClicks()
    {
        Host h = makeBar(120, 400);
        LamriBar *bar = h.bar;
        fill(bar, {2, 4});
        bar->setMenuCorrente(2);
        bar->finishAnimation();
        QSignalSpy spy(bar, &LamriBar::MenuItemClick);
        const QPoint item2 = bar->itemIconRect(2).center();
        const QPoint item3 = bar->itemIconRect(3).center();

        QTest::mousePress(bar, Qt::LeftButton, {}, item2);
        QCOMPARE(bar->itemState(2), -1);
        QTest::mouseMove(bar, item3);
        QCOMPARE(bar->itemState(2), 0);
        QCOMPARE(bar->itemState(3), 1);
        QTest::mouseRelease(bar, Qt::LeftButton, {}, item3);
        QCOMPARE(spy.count(), 0);

        click(bar, item3);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), 2);
        QCOMPARE(spy.at(0).at(1).toInt(), 3);
        QCOMPARE(bar->itemState(3), 0); // hover cleared after the click

        // a click below the caption's hit box, on the background, raises nothing
        click(bar, QPoint(5, bar->itemIconRect(1).bottom() + 3));
        QTest::mousePress(bar, Qt::RightButton, {}, item3);
        QTest::mouseRelease(bar, Qt::RightButton, {}, item3);
        QCOMPARE(spy.count(), 1);

        // the second click of a double click is a press
        QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(item2), bar->mapToGlobal(QPointF(item2)),
                        Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(bar, &dbl);
        QTest::mouseRelease(bar, Qt::LeftButton, {}, item2);
        QCOMPARE(spy.count(), 2);
        QCOMPARE(spy.at(1).at(1).toInt(), 2);
    }

    void handlerMayCloseTheControl()
    {
        Host h = makeBar();
        QPointer<LamriBar> bar = h.bar;
        connect(bar, &LamriBar::MenuItemClick, bar, [&bar] { delete bar.data(); });
        click(bar, bar->itemIconRect(1).center());
        QVERIFY(bar.isNull());
    }

    void scrollArrows()
    {
        const int H = 300;
        Host h = makeBar(120, H);
        LamriBar *bar = h.bar;
        fill(bar, {10});
        QVERIFY(bar->isArrowShown(-1));
        QVERIFY(!bar->isArrowShown(1));
        QCOMPARE(bar->arrowRect(-1), QRect(120 - 22, H - 6 - 18 * 1, 16, 16));
        const QImage before = bar->surface().copy();
        const int top2 = bar->itemIconRect(2).top();

        click(bar, bar->arrowRect(-1).center());
        QVERIFY(bar->isAnimating());
        QTRY_VERIFY(!bar->isAnimating());
        QCOMPARE(bar->TopMenuItem(1), 2);
        QVERIFY(bar->isArrowShown(1));
        QCOMPARE(bar->arrowRect(1), QRect(120 - 22, 18 + 6, 16, 16));
        QCOMPARE(bar->itemIconRect(2).top(), top2 - 64);
        QVERIFY(bar->itemIconRect(1).isNull());
        // the item band moved up by exactly one 64-pixel row (arrow column left out)
        const QImage after = bar->surface();
        const int clip = H;
        for (int y = 18; y < clip - 64; ++y)
            for (int x = 0; x < 120 - 24; ++x)
                if (after.pixel(x, y) != before.pixel(x, y + 64))
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2 differs").arg(x).arg(y)));

        // the up arrow brings the first picture back
        click(bar, bar->arrowRect(1).center());
        QTRY_VERIFY(!bar->isAnimating());
        QCOMPARE(bar->TopMenuItem(1), 1);
        QVERIFY(!bar->isArrowShown(1));
        QVERIFY(samePixels(bar->surface(), before));

        // scrolled to the end, the down arrow goes
        for (int i = 0; i < 10 && bar->isArrowShown(-1); ++i) {
            click(bar, bar->arrowRect(-1).center());
            QTRY_VERIFY(!bar->isAnimating());
        }
        QVERIFY(!bar->isArrowShown(-1));
        QVERIFY(bar->TopMenuItem(1) < 10);
    }

    void itemCutByTheClipLine()
    {
        // 3 menus, menu 1 open: the area ends at H - 36 = 140, through item 2's caption
        const int H = 176;
        Host h = makeBar(120, H);
        LamriBar *bar = h.bar;
        fill(bar, {4, 1, 1});
        const int clip = H - 36;
        QCOMPARE(bar->itemIconRect(2).top(), 96);
        QVERIFY(bar->itemIconRect(3).isNull()); // top below the clip line: not drawn
        QCOMPARE(bar->itemHitRect(2).bottom(), clip - 1);
        QVERIFY(bar->isArrowShown(-1));
        // the cut caption does not run over the button below the clip line: its top
        // rows are the cache's button face, untouched
        for (int row = 0; row < 2; ++row)
            for (int x = 0; x < 120; ++x)
                QCOMPARE(bar->surface().pixel(x, clip + row), bar->cache().pixel(x, row));
    }

    void saveAndReload_data()
    {
        QTest::addColumn<bool>("viaFile");
        QTest::newRow("ini text") << false;
        QTest::newRow("ini file") << true;
    }
    void saveAndReload()
    {
        QFETCH(bool, viaFile);
        Host a = makeBar();
        fill(a.bar, {3, 2, 4});
        a.bar->setMenuCorrente(2);
        a.bar->setSottoMenuCorrente(2);
        a.bar->setSottoMenuIcona(solidIcon(QColor(10, 200, 30)));
        a.bar->setSottoMenuNome(QStringLiteral("  \"Odeljenja\" = 2;\nnova linija \\ ok"));
        a.bar->setSottoMenuTag(QStringLiteral(" vodeci razmak"));
        a.bar->setMenuNome(QStringLiteral("Prodajnost čćž"));
        a.bar->setMenuAvvio(3);
        a.bar->setMenuCorrente(1);
        a.bar->setToolTipText(QStringLiteral("savet"));
        a.bar->setWhatsThisHelpID(7);
        a.bar->setEnabledProperty(true);

        Host b = makeBar();
        if (viaFile) {
            QTemporaryDir dir;
            const QString path = dir.filePath(QStringLiteral("frmvert.ini"));
            QVERIFY(a.bar->writeProperties(path));
            QVERIFY(b.bar->readProperties(path));
            QVERIFY(!b.bar->readProperties(dir.filePath(QStringLiteral("missing.ini"))));
        } else {
            b.bar->loadProperties(a.bar->saveProperties());
        }
        QVERIFY(g_messages.empty());
        QCOMPARE(b.bar->MenuMax(), 3);
        QCOMPARE(b.bar->MenuAvvio(), 3);
        QCOMPARE(b.bar->MenuCorrente(), 3); // opens MenuAvvio
        QCOMPARE(b.bar->ToolTipText(), QStringLiteral("savet"));
        QCOMPARE(b.bar->WhatsThisHelpID(), 7);
        QCOMPARE(b.bar->Enabled(), true);
        for (int m = 1; m <= 3; ++m) {
            QCOMPARE(b.bar->menuCaption(m), a.bar->menuCaption(m));
            QCOMPARE(b.bar->menuItemCount(m), a.bar->menuItemCount(m));
            for (int s = 1; s <= a.bar->menuItemCount(m); ++s) {
                QCOMPARE(b.bar->itemCaption(m, s), a.bar->itemCaption(m, s));
                QCOMPARE(b.bar->itemKey(m, s), a.bar->itemKey(m, s));
                QCOMPARE(b.bar->itemTag(m, s), a.bar->itemTag(m, s));
                QVERIFY(samePixels(b.bar->itemIcon(m, s), a.bar->itemIcon(m, s)));
            }
        }
        QVERIFY(samePixels(b.bar->itemIcon(2, 2), solidIcon(QColor(10, 200, 30))));
        QCOMPARE(b.bar->cache().height(), 68 + 9 * 32);
    }

    void bagKeyOrder()
    {
        Host h = makeBar();
        fill(h.bar, {2});
        const LamriPropertyBag bag = LamriPropertyBag::fromIni(h.bar->saveProperties());
        QStringList keys;
        for (const auto &e : bag.entries())
            keys << e.first;
        const QStringList expected = {
            "Enabled", "ToolTipText", "WhatsThisHelpID", "MenuMax", "MenuCorrente", "MenuAvvio",
            "MenuNome1", "SottoMenuMax1",
            "SottoMenuIcona11", "SottoMenuNome11", "SottoMenuChiave11", "SottoMenuTag11",
            "SottoMenuIcona12", "SottoMenuNome12", "SottoMenuChiave12", "SottoMenuTag12",
            "MenuItemIcon0", "AutoRedraw", "ClipControls", "MousePointer"};
        QCOMPARE(keys, expected);
        QCOMPARE(bag.readString("SottoMenuNome12", {}), QStringLiteral("I1.2"));
    }

    // Without a parent form the control writes picture addresses, and reading one
    // fetches the picture later on the same thread.
    void pictureAddressWithoutForm()
    {
        QTemporaryDir dir;
        const QString png = dir.filePath(QStringLiteral("icon.png"));
        QVERIFY(solidIcon(Qt::blue, 48).save(png));
        LamriBar a;
        a.setSottoMenuMax(2);
        a.setSottoMenuPictureURL(QUrl::fromLocalFile(png).toString());
        QCOMPARE(a.SottoMenuPictureURL(), QUrl::fromLocalFile(png).toString());
        QTRY_VERIFY(samePixels(a.itemIcon(1, 1), solidIcon(Qt::blue, 48)));
        a.setSottoMenuCorrente(2);
        a.setSottoMenuPictureURL(dir.filePath(QStringLiteral("missing.png")));
        const QByteArray text = a.saveProperties();
        QVERIFY(text.contains("SottoMenuPictureURL11="));
        QVERIFY(!text.contains("SottoMenuIcona"));

        LamriBar b;
        b.loadProperties(text);
        QCOMPARE(b.itemPictureURL(1, 1), a.itemPictureURL(1, 1));
        QTRY_VERIFY(samePixels(b.itemIcon(1, 1), solidIcon(Qt::blue, 48)));
        QTest::qWait(20);
        QVERIFY(samePixels(b.itemIcon(1, 2), b.defaultIcon())); // failed fetch: default icon
    }

    void designPropertyKeepsOpenMenu()
    {
        Host h = makeBar();
        fill(h.bar, {1, 1});
        h.bar->setMenuCorrente(2);
        h.bar->finishAnimation();
        // what a design environment reads and writes back unchanged resets nothing
        QVERIFY(h.bar->setProperty("PropertyBag", h.bar->property("PropertyBag")));
        QCOMPARE(h.bar->MenuCorrente(), 2);
        QString other = h.bar->PropertyBag();
        other.replace(QStringLiteral("MenuNome2=\"M2\""), QStringLiteral("MenuNome2=\"Drugi\""));
        h.bar->setPropertyBag(other);
        QCOMPARE(h.bar->menuCaption(2), QStringLiteral("Drugi"));
        QCOMPARE(h.bar->MenuCorrente(), 1); // a real load opens MenuAvvio
    }

    void corruptBag_data()
    {
        static const char kGarbage[] = "\x00\xff[\x01=\n=\n[LamriBar\nMenuMax";
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("menus");
        QTest::addColumn<int>("open");
        QTest::addColumn<QString>("caption1");
        QTest::addColumn<int>("items1");
        QTest::addColumn<QStringList>("messages");
        const QString menuMax = QStringLiteral("La proprietà MenuMax deve essere compresa tra 0 e 6");
        const QString itemMax = QStringLiteral("La proprietà SottoMenuMax deve essere compresa tra 0 e 10");
        QTest::newRow("empty") << QByteArray() << 1 << 1 << "Menu" << 1 << QStringList();
        QTest::newRow("binary garbage") << QByteArray::fromRawData(kGarbage, sizeof kGarbage - 1)
                                        << 1 << 1 << "Menu" << 1 << QStringList();
        QTest::newRow("no number") << QByteArray("[LamriBar]\nMenuMax=tri\nMenuNome1=\"A\"\n")
                                   << 1 << 1 << "A" << 1 << QStringList();
        QTest::newRow("too many menus") << QByteArray("[LamriBar]\nMenuMax=99\nMenuNome1=\"A\"\n")
                                        << 1 << 1 << "A" << 1 << QStringList{menuMax};
        QTest::newRow("beyond 64 bits") << QByteArray("[LamriBar]\nMenuMax=99999999999999999999999\n")
                                        << 1 << 1 << "Menu" << 1 << QStringList{menuMax};
        QTest::newRow("negative items") << QByteArray("[LamriBar]\nMenuMax=2\nSottoMenuMax1=-4\nSottoMenuMax2=3\n")
                                        << 2 << 1 << "Menu" << 1 << QStringList{itemMax};
        QTest::newRow("start menu missing") << QByteArray("[LamriBar]\nMenuMax=2\nMenuAvvio=9\nMenuCorrente=2\n")
                                            << 2 << 1 << "Menu" << 1 << QStringList();
        QTest::newRow("unterminated quote") << QByteArray("[LamriBar]\nMenuNome1=\"Pola")
                                            << 1 << 1 << "Pola" << 1 << QStringList();
        QTest::newRow("other section only") << QByteArray("[Drugo]\nMenuMax=3\n[LamriBar\nMenuMax=4\n")
                                            << 1 << 1 << "Menu" << 1 << QStringList();
    }
    void corruptBag()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, menus);
        QFETCH(int, open);
        QFETCH(QString, caption1);
        QFETCH(int, items1);
        QFETCH(QStringList, messages);
        Host h = makeBar();
        fill(h.bar, {3, 3});
        g_messages.clear();
        h.bar->loadProperties(text);
        QCOMPARE(h.bar->MenuMax(), menus);
        QCOMPARE(h.bar->MenuCorrente(), open);
        QCOMPARE(h.bar->menuCaption(1), caption1);
        QCOMPARE(h.bar->menuItemCount(1), items1);
        QStringList got;
        for (const Message &m : g_messages)
            got << m.text;
        QCOMPARE(got, messages);
        QVERIFY(samePixels(h.bar->itemIcon(1, 1), h.bar->defaultIcon()));
    }

    void truncatedBags()
    {
        Host a = makeBar();
        fill(a.bar, {3, 2, 4});
        a.bar->setSottoMenuIcona(solidIcon(Qt::yellow));
        const QByteArray full = a.bar->saveProperties();
        // cut right after menu 2's item count: menu 1 complete, the rest defaults
        const qsizetype cut = full.indexOf("SottoMenuMax2=");
        QVERIFY(cut > 0);
        Host b = makeBar();
        b.bar->loadProperties(full.left(full.indexOf('\n', cut) + 1));
        QCOMPARE(b.bar->MenuMax(), 3);
        QCOMPARE(b.bar->itemCaption(1, 3), QStringLiteral("I1.3"));
        QVERIFY(samePixels(b.bar->itemIcon(1, 1), solidIcon(Qt::yellow)));
        QCOMPARE(b.bar->menuItemCount(2), 2);
        QCOMPARE(b.bar->itemCaption(2, 1), QStringLiteral("SottoMenu"));
        QCOMPARE(b.bar->menuCaption(3), QStringLiteral("Menu"));
        // every other cut, and damaged bytes, load without harm
        QRandomGenerator rng(1234);
        for (qsizetype n = 0; n < full.size(); n += 211) {
            b.bar->loadProperties(full.left(n));
            QByteArray damaged = full;
            for (int i = 0; i < 20; ++i)
                damaged[rng.bounded(int(damaged.size()))] = char(rng.bounded(256));
            b.bar->loadProperties(damaged);
            QVERIFY(b.bar->MenuMax() >= 0 && b.bar->MenuMax() <= 6);
        }
    }

    void propertyPagesApplyInOrder()
    {
        Host h = makeBar();
        LamriPropertyPages pages;
        pages.setControl(h.bar);
        auto field = [&pages](const char *name) { return pages.findChild<QLineEdit *>(QLatin1String(name)); };
        QCOMPARE(field("txtMenusMax")->text(), QStringLiteral("1"));
        QCOMPARE(field("txtMenuItemCaption")->text(), QStringLiteral("SottoMenu"));
        auto type = [](QLineEdit *e, const QString &text) {
            e->selectAll();
            QTest::keyClicks(e, text);
        };
        // MenuCorrente 3 only works because MenuMax is applied before it
        type(field("txtMenusMax"), "3");
        type(field("txtMenuCur"), "3");
        type(field("txtMenuStartup"), "2");
        QVERIFY(pages.isPageChanged(LamriPropertyPages::Menues));
        QVERIFY(!pages.isPageChanged(LamriPropertyPages::MenuObjects));
        pages.apply();
        QCOMPARE(h.bar->MenuMax(), 3);
        QCOMPARE(h.bar->MenuCorrente(), 3);
        QCOMPARE(h.bar->MenuAvvio(), 2);
        QCOMPARE(field("txtMenuCaption")->text(), QStringLiteral("Menu3")); // pages show the new menu

        // SottoMenuCorrente 4 only works after SottoMenuMax 4
        type(field("txtMenuItemsMax"), "4");
        type(field("txtMenuItemCur"), "4");
        type(field("txtMenuCaption"), "Prodajnost");
        pages.apply();
        QCOMPARE(h.bar->SottoMenuMax(), 4);
        QCOMPARE(h.bar->SottoMenuCorrente(), 4);
        QCOMPARE(h.bar->menuCaption(3), QStringLiteral("Prodajnost"));
        QVERIFY(g_messages.empty());

        // the item page alone leaves the selection as it is
        QTemporaryDir dir;
        const QString ico = dir.filePath(QStringLiteral("icon.ico"));
        QVERIFY(solidIcon(Qt::magenta).save(ico, "ICO"));
        QStringList offered = {QString(), dir.filePath(QStringLiteral("broken.ico")), ico};
        QFile broken(offered[1]);
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("not an icon");
        broken.close();
        pages.setFileChooser([&offered](QWidget *) { return offered.takeFirst(); });
        auto *browse = pages.findChild<QPushButton *>(QStringLiteral("cmdBrowse"));
        QVERIFY(browse);
        browse->click(); // cancelled
        QVERIFY(!pages.isPageChanged(LamriPropertyPages::MenuItemObjects));
        browse->click(); // unreadable
        QCOMPARE(int(g_messages.size()), 1);
        QVERIFY(g_messages[0].text.contains(QStringLiteral("broken.ico")));
        QVERIFY(!pages.isPageChanged(LamriPropertyPages::MenuItemObjects));
        browse->click();
        QVERIFY(pages.isPageChanged(LamriPropertyPages::MenuItemObjects));
        QVERIFY(!pages.findChild<QLabel *>(QStringLiteral("imgPicture"))->pixmap().isNull());
        type(field("txtMenuItemCaption"), "Poreske Stope");
        type(field("txtMenuItemKey"), "VS");
        type(field("txtMenuItemTag"), "VS");
        pages.apply();
        QCOMPARE(h.bar->MenuCorrente(), 3);
        QCOMPARE(h.bar->SottoMenuCorrente(), 4);
        QCOMPARE(h.bar->itemCaption(3, 4), QStringLiteral("Poreske Stope"));
        QCOMPARE(h.bar->itemKey(3, 4), QStringLiteral("VS"));
        QCOMPARE(h.bar->itemTag(3, 4), QStringLiteral("VS"));
        QVERIFY(samePixels(h.bar->itemIcon(3, 4), solidIcon(Qt::magenta)));

        // a refused value comes back as the control's message
        g_messages.clear();
        type(field("txtMenusMax"), "7");
        pages.apply();
        QCOMPARE(int(g_messages.size()), 1);
        QCOMPARE(h.bar->MenuMax(), 3);
        QCOMPARE(field("txtMenusMax")->text(), QStringLiteral("3"));
    }

    void aboutBoxCloses()
    {
        Host h = makeBar();
        bool seen = false;
        QTimer::singleShot(0, [&seen] {
            if (auto *dlg = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
                seen = dlg->objectName() == QLatin1String("dlgAbout");
                dlg->accept();
            }
        });
        h.bar->AboutBox();
        QVERIFY(seen);
    }

    void designerPlugin()
    {
        const QString path = kalvo::test::binDir() + QStringLiteral("designer/libLamriDesigner.so");
        if (!QFile::exists(path))
            QSKIP("Designer plugin not built (Qt6 Designer missing)");
        QPluginLoader loader(path);
        QObject *instance = loader.instance();
        QVERIFY2(instance, qPrintable(loader.errorString()));
        auto *plugin = qobject_cast<QDesignerCustomWidgetInterface *>(instance);
        QVERIFY(plugin);
        QCOMPARE(plugin->name(), QStringLiteral("LamriBar"));
        QCOMPARE(plugin->includeFile(), QStringLiteral("LamriBar.h"));
        QVERIFY(plugin->domXml().contains(QStringLiteral("class=\"LamriBar\"")));
        QWidget parent;
        std::unique_ptr<QWidget> w(plugin->createWidget(&parent));
        QVERIFY(qobject_cast<LamriBar *>(w.get()));
    }
};

QTEST_MAIN(LamriBarTest)
#include "lamribar_test.moc"

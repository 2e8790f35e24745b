#include "LamriBar.h"

#include "LamriPictures.h"
#include "LamriPropertyBag.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QSaveFile>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <qdrawutil.h>

namespace {

LamriBar::MessageHandler &messageHandler()
{
    static LamriBar::MessageHandler handler;
    return handler;
}

// Durations of the two animations; both are driven by a timer and never block.
constexpr int kSlideMs = 220;
constexpr int kScrollMs = 130;
constexpr int kTickMs = 10;
constexpr qint64 kMaxBagFile = 64 * 1024 * 1024;

QString num(int n) { return QString::number(n); }

} // namespace

LamriBar::LamriBar(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    m_defaultIcon = lamri::defaultItemIcon();
    m_imgUp = lamri::arrowPicture(1);
    m_imgDown = lamri::arrowPicture(-1);
    m_timer = new QTimer(this);
    m_timer->setInterval(kTickMs);
    connect(m_timer, &QTimer::timeout, this, &LamriBar::animationStep);

    // A new instance: one menu with one item, menu 1 open.
    m_reading = true;
    setMenuMax(1);
    setMenuCorrente(1);
    m_menuAvvio = 1;
    m_reading = false;
    resizeSurfaces();
}

LamriBar::~LamriBar() = default;

void LamriBar::setMessageHandler(MessageHandler handler) { messageHandler() = std::move(handler); }

QString LamriBar::displayName() const
{
    return objectName().isEmpty() ? QStringLiteral("LamriBar") : objectName();
}

void LamriBar::showMessage(const QString &text, const QString &title)
{
    if (messageHandler()) {
        messageHandler()(text, title);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok);
    box.exec();
}

void LamriBar::rangeError(const QString &text) const
{
    QApplication::beep();
    showMessage(text, displayName());
}

void LamriBar::changed(const char *name)
{
    if (!m_reading)
        emit PropertyChanged(QString::fromLatin1(name));
}

// ---------------------------------------------------------------------------------
// collections

LamriBar::VMenu *LamriBar::menu(int m)
{
    return m >= 1 && m <= int(m_menus.size()) ? &m_menus[size_t(m - 1)] : nullptr;
}

const LamriBar::VMenu *LamriBar::menu(int m) const
{
    return m >= 1 && m <= int(m_menus.size()) ? &m_menus[size_t(m - 1)] : nullptr;
}

LamriBar::MenuItem *LamriBar::item(int m, int s)
{
    VMenu *mm = menu(m);
    return mm && s >= 1 && s <= int(mm->MenuItems.size()) ? &mm->MenuItems[size_t(s - 1)] : nullptr;
}

const LamriBar::MenuItem *LamriBar::item(int m, int s) const
{
    const VMenu *mm = menu(m);
    return mm && s >= 1 && s <= int(mm->MenuItems.size()) ? &mm->MenuItems[size_t(s - 1)] : nullptr;
}

int LamriBar::cacheIndex(int m, int s) const
{
    int g = 0;
    for (int i = 1; i < m; ++i)
        g += menuItemCount(i);
    return g + s - 1;
}

int LamriBar::TotalMenuItems() const
{
    int total = 0;
    for (const VMenu &m : m_menus)
        total += int(m.MenuItems.size());
    return total;
}

void LamriBar::addMenu()
{
    VMenu m;
    m.Caption = QStringLiteral("Menu") + num(int(m_menus.size()) + 1);
    addItem(m, QStringLiteral("SottoMenu"));
    m_menus.push_back(std::move(m));
}

void LamriBar::addItem(VMenu &m, const QString &caption)
{
    MenuItem it;
    it.Caption = caption;
    it.Button = m_defaultIcon;
    m.MenuItems.push_back(std::move(it));
}

bool LamriBar::painting() const { return !m_reading && !m_picMenu.isNull(); }

// ---------------------------------------------------------------------------------
// properties

int LamriBar::MenuMax() const { return int(m_menus.size()); }

void LamriBar::setMenuMax(int n)
{
    if (n < 0 || n > kMaxMenus) {
        rangeError(QStringLiteral("La proprietà MenuMax deve essere compresa tra 0 e 6"));
        return;
    }
    finishAnimation();
    while (int(m_menus.size()) < n)
        addMenu();
    while (int(m_menus.size()) > n)
        m_menus.pop_back();
    if (m_menuCorrente > n || (m_menuCorrente == 0 && n > 0)) {
        m_menuCorrente = m_menuCorrente > n ? n : 1;
        m_sottoMenuCorrente = n > 0 ? 1 : 0;
    }
    m_pressedItem = 0;
    m_paintedMenu = m_menuCorrente; // the area is cleared and painted afresh, no slide
    changed("MenuMax");
    SetupCache();
}

void LamriBar::setMenuCorrente(int n)
{
    // A menu that does not exist cannot be opened; the request is ignored.
    if (!menu(n))
        return;
    finishAnimation();
    const int from = m_paintedMenu;
    m_menuCorrente = n;
    m_sottoMenuCorrente = 1;
    m_pressedItem = 0;
    for (MenuItem &it : m_menus[size_t(n - 1)].MenuItems)
        it.State = 0;
    changed("MenuCorrente");
    if (!painting())
        return;
    layoutButtons();
    if (from != n && menu(from) && isVisible())
        startSlide(from, n);
    else
        Refresh();
}

void LamriBar::setMenuAvvio(int n)
{
    m_menuAvvio = n;
    changed("MenuAvvio");
}

QString LamriBar::MenuNome() const
{
    const VMenu *m = menu(m_menuCorrente);
    return m ? m->Caption : QString();
}

void LamriBar::setMenuNome(const QString &text)
{
    VMenu *m = menu(m_menuCorrente);
    if (!m)
        return;
    m->Caption = text;
    changed("MenuNome");
    Refresh();
}

int LamriBar::SottoMenuMax() const { return menuItemCount(m_menuCorrente); }

void LamriBar::setSottoMenuMax(int n)
{
    if (n < 0 || n > kMaxItems) {
        rangeError(QStringLiteral("La proprietà SottoMenuMax deve essere compresa tra 0 e 10"));
        return;
    }
    VMenu *m = menu(m_menuCorrente);
    if (!m)
        return;
    finishAnimation();
    while (int(m->MenuItems.size()) < n)
        addItem(*m, QStringLiteral("SottoMenu") + num(int(m->MenuItems.size()) + 1));
    while (int(m->MenuItems.size()) > n)
        m->MenuItems.pop_back();
    if (m_sottoMenuCorrente > n)
        m_sottoMenuCorrente = n;
    m->TopMenuItem = std::clamp(m->TopMenuItem, 1, std::max(1, n));
    m_pressedItem = 0;
    changed("SottoMenuMax");
    SetupCache();
}

void LamriBar::setSottoMenuCorrente(int n)
{
    if (n < 0 || n > SottoMenuMax()) {
        rangeError(QStringLiteral("Il valore corrente deve essere compreso tra 0 e SottoMenuMax"));
        return;
    }
    m_sottoMenuCorrente = n;
    changed("SottoMenuCorrente");
}

QString LamriBar::SottoMenuNome() const
{
    const MenuItem *it = selectedItem();
    return it ? it->Caption : QString();
}

void LamriBar::setSottoMenuNome(const QString &text)
{
    MenuItem *it = selectedItem();
    if (!it)
        return;
    it->Caption = text;
    changed("SottoMenuNome");
    Refresh();
}

QImage LamriBar::SottoMenuIcona() const
{
    const MenuItem *it = selectedItem();
    return it ? it->Button : QImage();
}

void LamriBar::setSottoMenuIcona(const QImage &picture)
{
    MenuItem *it = selectedItem();
    if (!it)
        return;
    it->Button = picture.isNull() ? m_defaultIcon : picture;
    changed("SottoMenuIcona");
    if (!m_reading)
        SetupCache();
}

QString LamriBar::SottoMenuPictureURL() const
{
    const MenuItem *it = selectedItem();
    return it ? it->PictureURL : QString();
}

void LamriBar::setSottoMenuPictureURL(const QString &address)
{
    MenuItem *it = selectedItem();
    if (!it)
        return;
    it->PictureURL = address;
    changed("SottoMenuPictureURL");
    if (address.trimmed().isEmpty())
        return;
    // The picture arrives later, as an event on this thread, for the item named now.
    const int m = m_menuCorrente;
    const int s = m_sottoMenuCorrente;
    QTimer::singleShot(0, this, [this, m, s, address] { pictureArrived(m, s, address); });
}

void LamriBar::pictureArrived(int m, int s, const QString &address)
{
    MenuItem *it = item(m, s);
    // The item is gone or has been given another address meanwhile: nothing to do.
    if (!it || it->PictureURL != address)
        return;
    const QImage picture = lamri::loadIconFile(lamri::localPathOf(address));
    if (picture.isNull())
        return; // a failed download leaves the icon as it was
    it->Button = picture;
    if (!m_reading)
        SetupCache();
}

QString LamriBar::SottoMenuChiave() const
{
    const MenuItem *it = selectedItem();
    return it ? it->Key : QString();
}

void LamriBar::setSottoMenuChiave(const QString &key)
{
    if (MenuItem *it = selectedItem()) {
        it->Key = key;
        changed("SottoMenuChiave");
    }
}

QString LamriBar::SottoMenuTag() const
{
    const MenuItem *it = selectedItem();
    return it ? it->Tag : QString();
}

void LamriBar::setSottoMenuTag(const QString &tag)
{
    if (MenuItem *it = selectedItem()) {
        it->Tag = tag;
        changed("SottoMenuTag");
    }
}

void LamriBar::setEnabledProperty(bool on) { m_enabled = on; changed("Enabled"); }
void LamriBar::setToolTipText(const QString &text) { m_toolTipText = text; changed("ToolTipText"); }
void LamriBar::setWhatsThisHelpID(int id) { m_whatsThisHelpId = id; changed("WhatsThisHelpID"); }
void LamriBar::setMousePointer(int pointer) { m_mousePointer = pointer; changed("MousePointer"); }
void LamriBar::setClipControls(bool on) { m_clipControls = on; changed("ClipControls"); }

void LamriBar::setDefaultIcon(const QImage &picture)
{
    const QImage old = m_defaultIcon;
    m_defaultIcon = picture.isNull() ? lamri::defaultItemIcon() : picture;
    // Items that showed the old default show the new one.
    for (VMenu &m : m_menus)
        for (MenuItem &it : m.MenuItems)
            if (it.Button == old)
                it.Button = m_defaultIcon;
    if (!m_reading)
        SetupCache();
}

// ---------------------------------------------------------------------------------
// read-only views

QString LamriBar::menuCaption(int m) const { const VMenu *mm = menu(m); return mm ? mm->Caption : QString(); }
int LamriBar::menuItemCount(int m) const { const VMenu *mm = menu(m); return mm ? int(mm->MenuItems.size()) : 0; }
QString LamriBar::itemCaption(int m, int s) const { const MenuItem *it = item(m, s); return it ? it->Caption : QString(); }
QString LamriBar::itemKey(int m, int s) const { const MenuItem *it = item(m, s); return it ? it->Key : QString(); }
QString LamriBar::itemTag(int m, int s) const { const MenuItem *it = item(m, s); return it ? it->Tag : QString(); }
QString LamriBar::itemPictureURL(int m, int s) const { const MenuItem *it = item(m, s); return it ? it->PictureURL : QString(); }
QImage LamriBar::itemIcon(int m, int s) const { const MenuItem *it = item(m, s); return it ? it->Button : QImage(); }
int LamriBar::TopMenuItem(int m) const { const VMenu *mm = menu(m); return mm ? mm->TopMenuItem : 0; }
QRect LamriBar::menuButtonRect(int m) const
{
    const VMenu *mm = menu(m);
    return mm ? QRect(0, mm->ButtonTop, width(), m_buttonHeight) : QRect();
}

QRect LamriBar::itemIconRect(int s) const
{
    const MenuItem *it = item(m_menuCorrente, s);
    return it && it->displayed ? it->iconRect : QRect();
}

QRect LamriBar::itemHitRect(int s) const
{
    const MenuItem *it = item(m_menuCorrente, s);
    return it && it->displayed ? it->hitRect : QRect();
}

int LamriBar::itemState(int s) const { const MenuItem *it = item(m_menuCorrente, s); return it ? it->State : 0; }

bool LamriBar::isArrowShown(int type) const
{
    const VMenu *m = menu(m_menuCorrente);
    return m && (type >= 0 ? m->up : m->down).IsDisplayed;
}

QRect LamriBar::arrowRect(int type) const
{
    const VMenu *m = menu(m_menuCorrente);
    return m ? (type >= 0 ? m->up : m->down).rect : QRect();
}

bool LamriBar::isAnimating() const { return m_animation != Animation::None; }

// ---------------------------------------------------------------------------------
// methods

void LamriBar::Refresh()
{
    if (!painting())
        return;
    if (m_animation != Animation::None) {
        finishAnimation(); // paints the final picture
        return;
    }
    paintAll();
    update();
}

void LamriBar::SetupCache()
{
    const int w = std::max(width(), kIconSize);
    const int h = TotalMenuItems() * kIconSize + kCacheIconRow;
    QImage cache(w, h, QImage::Format_RGB32);
    const QPalette pal = palette();
    cache.fill(pal.color(QPalette::Dark));
    QPainter p(&cache);
    // rows 0 .. ButtonHeight-1: the raised button face
    const QBrush face = pal.button();
    qDrawWinButton(&p, 0, 0, w, m_buttonHeight, pal, false, &face);
    // from row 68: every item's icon, 32x32
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    int g = 0;
    for (const VMenu &m : m_menus) {
        for (const MenuItem &it : m.MenuItems) {
            const QRect target(0, kCacheIconRow + kIconSize * g, kIconSize, kIconSize);
            const QImage &src = it.Button.isNull() ? m_defaultIcon : it.Button;
            if (src.size() == target.size())
                p.drawImage(target.topLeft(), src);
            else
                p.drawImage(target, src.scaled(target.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
            ++g;
        }
    }
    p.end();
    m_picCache = std::move(cache);
    Refresh();
}

void LamriBar::AboutBox()
{
    QDialog dlg(this);
    dlg.setObjectName(QStringLiteral("dlgAbout"));
    dlg.setWindowTitle(QStringLiteral("Informazioni su LamriBar"));
    auto *layout = new QVBoxLayout(&dlg);
    auto *icon = new QLabel(&dlg);
    icon->setPixmap(QPixmap::fromImage(m_defaultIcon));
    icon->setAlignment(Qt::AlignCenter);
    layout->addWidget(icon);
    auto *text = new QLabel(QStringLiteral("<b>LamriBar</b><br>Menu laterale a pulsanti scorrevoli<br>"
                                           "fino a 6 menu di 10 voci ciascuno."), &dlg);
    text->setObjectName(QStringLiteral("lblAbout"));
    text->setAlignment(Qt::AlignCenter);
    layout->addWidget(text);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dlg);
    connect(buttons, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
    layout->addWidget(buttons);
    dlg.exec();
}

// ---------------------------------------------------------------------------------
// persistence

void LamriBar::WriteProperties(LamriPropertyBag &bag) const
{
    const bool onForm = parentWidget() != nullptr;
    bag.writeBool(QStringLiteral("Enabled"), m_enabled);
    bag.writeString(QStringLiteral("ToolTipText"), m_toolTipText);
    bag.writeInt(QStringLiteral("WhatsThisHelpID"), m_whatsThisHelpId);
    bag.writeInt(QStringLiteral("MenuMax"), MenuMax());
    bag.writeInt(QStringLiteral("MenuCorrente"), m_menuCorrente);
    bag.writeInt(QStringLiteral("MenuAvvio"), m_menuAvvio);
    for (int m = 1; m <= MenuMax(); ++m) {
        const VMenu &mm = m_menus[size_t(m - 1)];
        bag.writeString(QStringLiteral("MenuNome") + num(m), mm.Caption);
        bag.writeInt(QStringLiteral("SottoMenuMax") + num(m), int(mm.MenuItems.size()));
        for (int s = 1; s <= int(mm.MenuItems.size()); ++s) {
            const MenuItem &it = mm.MenuItems[size_t(s - 1)];
            const QString ms = num(m) + num(s);
            if (onForm)
                bag.writePicture(QStringLiteral("SottoMenuIcona") + ms, it.Button);
            else
                bag.writeString(QStringLiteral("SottoMenuPictureURL") + ms, it.PictureURL);
            bag.writeString(QStringLiteral("SottoMenuNome") + ms, it.Caption);
            bag.writeString(QStringLiteral("SottoMenuChiave") + ms, it.Key);
            bag.writeString(QStringLiteral("SottoMenuTag") + ms, it.Tag);
        }
    }
    bag.writePicture(QStringLiteral("MenuItemIcon0"), m_defaultIcon);
    bag.writeInt(QStringLiteral("WhatsThisHelpID"), m_whatsThisHelpId);
    bag.writeString(QStringLiteral("ToolTipText"), m_toolTipText);
    bag.writeBool(QStringLiteral("Enabled"), m_enabled);
    bag.writeBool(QStringLiteral("AutoRedraw"), m_autoRedraw);
    bag.writeBool(QStringLiteral("ClipControls"), m_clipControls);
    bag.writeInt(QStringLiteral("MousePointer"), m_mousePointer);
}

void LamriBar::ReadProperties(const LamriPropertyBag &bag)
{
    finishAnimation();
    m_reading = true;
    m_enabled = bag.readBool(QStringLiteral("Enabled"), false);
    m_toolTipText = bag.readString(QStringLiteral("ToolTipText"), QString());
    m_whatsThisHelpId = bag.readInt(QStringLiteral("WhatsThisHelpID"), 0);
    setDefaultIcon(bag.readPicture(QStringLiteral("MenuItemIcon0")));
    m_buttonHeight = 18;

    // Start from a new control's content, so that whatever the bag lacks or holds out
    // of range keeps its default.
    m_menus.clear();
    m_menuCorrente = 0;
    m_sottoMenuCorrente = 0;
    setMenuMax(1);
    setMenuMax(bag.readInt(QStringLiteral("MenuMax"), 1));
    for (int m = 1; m <= MenuMax(); ++m) {
        setMenuCorrente(m);
        setMenuNome(bag.readString(QStringLiteral("MenuNome") + num(m), QStringLiteral("Menu")));
        setSottoMenuMax(bag.readInt(QStringLiteral("SottoMenuMax") + num(m), 1));
        for (int s = 1; s <= SottoMenuMax(); ++s) {
            const QString ms = num(m) + num(s);
            setSottoMenuCorrente(s);
            setSottoMenuIcona(bag.readPicture(QStringLiteral("SottoMenuIcona") + ms));
            const QString address = bag.readString(QStringLiteral("SottoMenuPictureURL") + ms, QString());
            if (!address.isEmpty())
                setSottoMenuPictureURL(address);
            setSottoMenuNome(bag.readString(QStringLiteral("SottoMenuNome") + ms, QStringLiteral("SottoMenu")));
            setSottoMenuChiave(bag.readString(QStringLiteral("SottoMenuChiave") + ms, QString()));
            setSottoMenuTag(bag.readString(QStringLiteral("SottoMenuTag") + ms, QString()));
        }
    }
    setMenuCorrente(bag.readInt(QStringLiteral("MenuCorrente"), 1));
    m_menuAvvio = bag.readInt(QStringLiteral("MenuAvvio"), 1);
    // The start-up menu opens; one that does not exist opens the first.
    setMenuCorrente(menu(m_menuAvvio) ? m_menuAvvio : 1);
    m_autoRedraw = bag.readBool(QStringLiteral("AutoRedraw"), false);
    m_clipControls = bag.readBool(QStringLiteral("ClipControls"), false);
    m_mousePointer = bag.readInt(QStringLiteral("MousePointer"), 0);
    for (VMenu &m : m_menus)
        m.TopMenuItem = 1;
    m_pressedItem = 0;
    m_reading = false;
    m_paintedMenu = m_menuCorrente;
    SetupCache();
}

QByteArray LamriBar::saveProperties() const
{
    LamriPropertyBag bag;
    WriteProperties(bag);
    return bag.toIni();
}

void LamriBar::loadProperties(const QByteArray &iniText)
{
    ReadProperties(LamriPropertyBag::fromIni(iniText));
}

bool LamriBar::writeProperties(const QString &iniPath) const
{
    QSaveFile file(iniPath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray text = saveProperties();
    if (file.write(text) != text.size())
        return false;
    return file.commit();
}

bool LamriBar::readProperties(const QString &iniPath)
{
    QFile file(iniPath);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxBagFile)
        return false;
    loadProperties(file.readAll());
    return true;
}

QString LamriBar::PropertyBag() const { return QString::fromUtf8(saveProperties()); }

void LamriBar::setPropertyBag(const QString &iniText)
{
    // The same content again (a design environment writing back what it read) must not
    // reset the open menu.
    if (iniText == PropertyBag())
        return;
    loadProperties(iniText.toUtf8());
}

// ---------------------------------------------------------------------------------
// geometry

int LamriBar::clipLine(int c) const { return height() - (MenuMax() - c) * m_buttonHeight; }

void LamriBar::layoutButtons()
{
    const int n = MenuMax();
    const int c = m_menuCorrente;
    const int h = height();
    for (int i = 1; i <= n; ++i)
        m_menus[size_t(i - 1)].ButtonTop = i <= c ? (i - 1) * m_buttonHeight : h - (n - i + 1) * m_buttonHeight;
}

void LamriBar::layoutItems()
{
    VMenu *m = menu(m_menuCorrente);
    if (!m)
        return;
    const int c = m_menuCorrente;
    const int w = width();
    const int clip = clipLine(c);
    const QRect area(0, areaTop(c), w, std::max(0, clip - areaTop(c)));
    const int textHeight = fontMetrics().height();
    for (int s = 1; s <= int(m->MenuItems.size()); ++s) {
        MenuItem &it = m->MenuItems[size_t(s - 1)];
        const int k = s - m->TopMenuItem + 1;
        const int top = kRowHeight * k + (c - 1) * m_buttonHeight - 32;
        const int left = w / 2 - kIconSize / 2;
        const int captionBottom = top + 36 + textHeight;
        it.displayed = k >= 1 && top < clip;
        it.complete = it.displayed && captionBottom <= clip;
        it.clipped = it.displayed && !it.complete;
        it.iconRect = QRect(left, top, kIconSize, kIconSize);
        it.borderRect = it.iconRect.adjusted(-2, -2, 2, 2);
        it.hitRect = it.displayed ? QRect(QPoint(left - 6, top - 6), QPoint(left + kIconSize + 6, captionBottom + 5)) & area
                                  : QRect();
    }
}

// ---------------------------------------------------------------------------------
// drawing

void LamriBar::resizeSurfaces()
{
    if (m_animation != Animation::None) {
        m_timer->stop();
        m_animation = Animation::None;
    }
    if (width() <= 0 || height() <= 0) {
        m_picMenu = QImage();
        return;
    }
    m_picMenu = QImage(size(), QImage::Format_RGB32);
    m_picMenu.fill(palette().color(QPalette::Dark));
    m_paintedMenu = m_menuCorrente;
    SetupCache(); // the cache takes the new width, then everything is painted
}

void LamriBar::paintAll()
{
    if (m_picMenu.isNull() || m_picCache.isNull())
        return;
    m_picMenu.fill(palette().color(QPalette::Dark));
    layoutButtons();
    for (int i = 1; i <= MenuMax(); ++i)
        drawButton(m_menus[size_t(i - 1)], i, m_menus[size_t(i - 1)].ButtonTop);
    drawItems();
    m_paintedMenu = m_menuCorrente;
}

void LamriBar::drawButton(const VMenu &m, int, int y)
{
    QPainter p(&m_picMenu);
    const int w = width();
    p.drawImage(QRect(0, y, w, m_buttonHeight), m_picCache, QRect(0, 0, w, m_buttonHeight));
    p.setPen(palette().color(QPalette::ButtonText));
    p.setFont(font());
    const QFontMetrics fm = fontMetrics();
    const int x = w / 2 - fm.horizontalAdvance(m.Caption) / 2;
    p.setClipRect(QRect(0, y, w, m_buttonHeight));
    p.drawText(x, y + 2 + fm.ascent(), m.Caption);
}

void LamriBar::drawItems()
{
    VMenu *m = menu(m_menuCorrente);
    if (!m)
        return;
    layoutItems();
    const int c = m_menuCorrente;
    const int w = width();
    const int clip = clipLine(c);
    const QRect area(0, areaTop(c), w, std::max(0, clip - areaTop(c)));
    const int first = cacheIndex(c, 1);
    {
        QPainter p(&m_picMenu);
        p.setClipRect(area);
        p.setFont(font());
        p.setPen(Qt::white);
        const QFontMetrics fm = fontMetrics();
        for (int s = 1; s <= int(m->MenuItems.size()); ++s) {
            const MenuItem &it = m->MenuItems[size_t(s - 1)];
            if (!it.displayed)
                continue;
            const int cacheRow = kCacheIconRow + kIconSize * (first + s - 1);
            p.drawImage(it.iconRect.topLeft(), m_picCache, QRect(0, cacheRow, kIconSize, kIconSize));
            const int x = w / 2 - fm.horizontalAdvance(it.Caption) / 2;
            p.drawText(x, it.iconRect.top() + 36 + fm.ascent(), it.Caption);
        }
    }
    for (const MenuItem &it : m->MenuItems)
        if (it.displayed && it.State != 0)
            drawItemBorder(it, it.State);

    const bool lastComplete = m->MenuItems.empty() || m->MenuItems.back().complete;
    const int n = MenuMax();
    drawArrow(m->up, m->TopMenuItem >= 2, c * m_buttonHeight + 6);
    drawArrow(m->down, !lastComplete && m->TopMenuItem < int(m->MenuItems.size()),
              height() - 6 - m_buttonHeight * (n - c + 1));
}

void LamriBar::drawItemBorder(const MenuItem &it, int state)
{
    const int c = m_menuCorrente;
    const int clip = clipLine(c);
    QPainter p(&m_picMenu);
    p.setClipRect(QRect(0, areaTop(c), width(), std::max(0, clip - areaTop(c))));
    const QRect r = it.borderRect;
    const QPalette pal = palette();
    QColor topLeft, bottomRight;
    if (state > 0) {        // raised outer edge
        topLeft = pal.color(QPalette::Light);
        bottomRight = pal.color(QPalette::Shadow);
    } else if (state < 0) { // sunken inner edge
        topLeft = pal.color(QPalette::Shadow);
        bottomRight = pal.color(QPalette::Light);
    } else {                // flat: the background again
        topLeft = bottomRight = pal.color(QPalette::Dark);
    }
    p.setPen(topLeft);
    p.drawLine(r.left(), r.top(), r.right(), r.top());
    p.drawLine(r.left(), r.top(), r.left(), r.bottom());
    p.setPen(bottomRight);
    p.drawLine(r.right(), r.top(), r.right(), r.bottom());
    if (!it.clipped) // an item cut by the clip line has no bottom side
        p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
}

void LamriBar::drawArrow(Arrow &a, bool show, int y)
{
    a.rect = QRect(width() - 22, y, kArrowSize, kArrowSize);
    a.State = 0;
    if (!show) {
        hideArrow(a);
        return;
    }
    QPainter p(&m_picMenu);
    p.drawImage(a.rect.topLeft(), a.ArrowType >= 0 ? m_imgUp : m_imgDown);
    a.IsDisplayed = true;
}

void LamriBar::hideArrow(Arrow &a)
{
    if (a.IsDisplayed && !m_picMenu.isNull()) {
        QPainter p(&m_picMenu);
        p.fillRect(a.rect.adjusted(-1, -1, 1, 1), palette().color(QPalette::Dark));
    }
    a.IsDisplayed = false;
    a.pressed = false;
    a.State = 0;
}

void LamriBar::drawArrowBorder(const Arrow &a, int state)
{
    if (!a.IsDisplayed)
        return;
    QPainter p(&m_picMenu);
    const QPalette pal = palette();
    const QRect r = a.rect.adjusted(-1, -1, 0, 0); // one pixel around the picture
    if (state < 0) {
        // pressed: the picture drawn one pixel lower right inside a sunken frame
        p.drawImage(a.rect.topLeft() + QPoint(1, 1), a.ArrowType >= 0 ? m_imgUp : m_imgDown,
                    QRect(0, 0, kArrowSize - 1, kArrowSize - 1));
        qDrawShadeRect(&p, r.x(), r.y(), r.width() + 1, r.height() + 1, pal, true, 1);
        return;
    }
    p.drawImage(a.rect.topLeft(), a.ArrowType >= 0 ? m_imgUp : m_imgDown);
    if (state > 0)
        qDrawShadeRect(&p, r.x(), r.y(), r.width() + 1, r.height() + 1, pal, false, 1);
    else {
        p.setPen(pal.color(QPalette::Dark));
        p.drawRect(r);
    }
}

void LamriBar::fillFromBackground(int y0, int y1)
{
    // uncovered lines take the cache's plain background row
    const int bgRow = m_buttonHeight + 3;
    if (m_picCache.height() <= bgRow)
        return;
    const int w = std::min(m_picMenu.width(), m_picCache.width());
    const uchar *src = m_picCache.constScanLine(bgRow);
    for (int y = std::max(0, y0); y < std::min(y1, m_picMenu.height()); ++y)
        std::memcpy(m_picMenu.scanLine(y), src, size_t(w) * 4);
}

// Moves the rows [top, bottom) of the surface by dy (negative: up), keeping them within
// [top, bottom) and filling the rows left behind from the cache background.
void LamriBar::shiftBand(int top, int bottom, int dy)
{
    top = std::max(0, top);
    bottom = std::min(bottom, m_picMenu.height());
    if (dy == 0 || bottom - top <= 0)
        return;
    const size_t bytes = size_t(m_picMenu.bytesPerLine());
    if (std::abs(dy) >= bottom - top) {
        fillFromBackground(top, bottom);
        return;
    }
    if (dy < 0) {
        for (int y = top; y < bottom + dy; ++y)
            std::memcpy(m_picMenu.scanLine(y), m_picMenu.constScanLine(y - dy), bytes);
        fillFromBackground(bottom + dy, bottom);
    } else {
        for (int y = bottom - 1; y >= top + dy; --y)
            std::memcpy(m_picMenu.scanLine(y), m_picMenu.constScanLine(y - dy), bytes);
        fillFromBackground(top, top + dy);
    }
}

// ---------------------------------------------------------------------------------
// animation

void LamriBar::startSlide(int from, int to)
{
    const int n = MenuMax();
    const int distance = height() - n * m_buttonHeight;
    if (distance <= 0) {
        Refresh();
        return;
    }
    if (to > from) {
        // buttons from+1 .. to rise from the bottom: the band from the first of them
        // down to the new clip line moves up
        m_animDir = -1;
        m_animTop = height() - (n - from) * m_buttonHeight;
        m_animBottom = clipLine(to);
    } else {
        // buttons to+1 .. from sink: the band under button `to` down to the old clip
        // line moves down
        m_animDir = 1;
        m_animTop = to * m_buttonHeight;
        m_animBottom = clipLine(from);
    }
    m_animRemaining = distance;
    m_animation = Animation::Slide;
    m_animClock.start();
    m_timer->start();
}

void LamriBar::startScroll(int direction)
{
    VMenu *m = menu(m_menuCorrente);
    if (!m)
        return;
    hideArrow(m->up);
    hideArrow(m->down);
    for (MenuItem &it : m->MenuItems)
        it.State = 0;
    m_pressedItem = 0;
    m->TopMenuItem += direction > 0 ? -1 : 1;
    m_animDir = direction; // up arrow: the items move down
    m_animTop = areaTop(m_menuCorrente);
    m_animBottom = clipLine(m_menuCorrente);
    m_animRemaining = kRowHeight;
    if (!isVisible()) {
        paintAll();
        return;
    }
    m_animation = Animation::Scroll;
    m_animClock.start();
    m_timer->start();
    update();
}

void LamriBar::animationStep()
{
    if (m_animation == Animation::None) {
        m_timer->stop();
        return;
    }
    const int total = m_animation == Animation::Slide ? height() - MenuMax() * m_buttonHeight : kRowHeight;
    const int duration = m_animation == Animation::Slide ? kSlideMs : kScrollMs;
    const qint64 elapsed = m_animClock.elapsed();
    const int done = total - m_animRemaining;
    int target = elapsed >= duration ? total : int(qint64(total) * elapsed / duration);
    if (m_animation == Animation::Scroll)
        target &= ~1; // the rows move 2 pixels a step
    int d = std::clamp(target - done, 0, m_animRemaining);
    if (d == 0 && m_animRemaining > 0)
        d = std::min(m_animation == Animation::Scroll ? 2 : 1, m_animRemaining);
    if (m_animation == Animation::Slide && m_animDir < 0) {
        shiftBand(m_animTop - d, m_animBottom, -d);
        m_animTop -= d;
    } else {
        shiftBand(m_animTop, m_animBottom, m_animDir * d);
    }
    m_animRemaining -= d;
    if (m_animRemaining <= 0)
        finishAnimation();
    else
        update();
}

void LamriBar::finishAnimation()
{
    if (m_animation == Animation::None)
        return;
    m_timer->stop();
    m_animation = Animation::None;
    paintAll();
    update();
}

// ---------------------------------------------------------------------------------
// events

void LamriBar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (m_picMenu.isNull())
        return;
    p.drawImage(0, 0, m_picMenu);
}

void LamriBar::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    resizeSurfaces();
}

void LamriBar::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_picMenu.size() != size())
        resizeSurfaces();
}

int LamriBar::buttonAt(const QPoint &p) const
{
    for (int i = 1; i <= MenuMax(); ++i)
        if (menuButtonRect(i).contains(p))
            return i;
    return 0;
}

int LamriBar::itemAt(const QPoint &p) const
{
    const VMenu *m = menu(m_menuCorrente);
    if (!m)
        return 0;
    for (int s = 1; s <= int(m->MenuItems.size()); ++s) {
        const MenuItem &it = m->MenuItems[size_t(s - 1)];
        if (it.displayed && it.hitRect.contains(p))
            return s;
    }
    return 0;
}

LamriBar::Arrow *LamriBar::arrowAt(const QPoint &p)
{
    VMenu *m = menu(m_menuCorrente);
    if (!m)
        return nullptr;
    for (Arrow *a : {&m->up, &m->down})
        if (a->IsDisplayed && a->rect.contains(p))
            return a;
    return nullptr;
}

void LamriBar::hover(const QPoint &pt)
{
    VMenu *m = menu(m_menuCorrente);
    if (!m || m_animation != Animation::None || m_picMenu.isNull())
        return;
    const int under = itemAt(pt);
    bool dirty = false;
    for (int s = 1; s <= int(m->MenuItems.size()); ++s) {
        MenuItem &it = m->MenuItems[size_t(s - 1)];
        const int want = s != under ? 0 : (s == m_pressedItem && m_leftDown ? -1 : 1);
        if (it.State != want && it.displayed) {
            drawItemBorder(it, want);
            dirty = true;
        }
        it.State = want;
    }
    Arrow *onArrow = arrowAt(pt);
    for (Arrow *a : {&m->up, &m->down}) {
        const int want = a != onArrow ? 0 : (a->pressed && m_leftDown ? -1 : 1);
        if (a->State != want && a->IsDisplayed) {
            drawArrowBorder(*a, want);
            dirty = true;
        }
        a->State = want;
    }
    if (dirty)
        update();
}

void LamriBar::pressAt(const QPoint &pt)
{
    finishAnimation();
    m_leftDown = true;
    if (const int b = buttonAt(pt)) {
        setMenuCorrente(b);
        return;
    }
    VMenu *m = menu(m_menuCorrente);
    if (!m)
        return;
    m_pressedItem = 0;
    for (Arrow *a : {&m->up, &m->down})
        a->pressed = false;
    if (Arrow *a = arrowAt(pt))
        a->pressed = true;
    else
        m_pressedItem = itemAt(pt);
    hover(pt);
}

void LamriBar::mouseProcess(int code, const QPoint &pt)
{
    if (code < 0) {
        pressAt(pt);
        return;
    }
    if (code == 0) {
        hover(pt);
        return;
    }
    // release
    m_leftDown = false;
    VMenu *m = menu(m_menuCorrente);
    if (!m || m_animation != Animation::None) {
        m_pressedItem = 0;
        return;
    }
    Arrow *onArrow = arrowAt(pt);
    for (Arrow *a : {&m->up, &m->down}) {
        if (a->pressed && a == onArrow) {
            a->pressed = false;
            startScroll(a->ArrowType);
            return;
        }
        a->pressed = false;
    }
    const int pressed = m_pressedItem;
    m_pressedItem = 0;
    if (pressed != 0 && itemAt(pt) == pressed) {
        const int menuNumber = m_menuCorrente;
        hover(pt); // drawn raised
        QPointer<LamriBar> self(this);
        emit MenuItemClick(menuNumber, pressed);
        if (!self)
            return; // the handler closed the control
        hover(QPoint(0, 0));
        return;
    }
    hover(pt);
}

void LamriBar::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        mouseProcess(-1, event->position().toPoint());
}

void LamriBar::mouseMoveEvent(QMouseEvent *event)
{
    mouseProcess(0, event->position().toPoint());
}

void LamriBar::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        mouseProcess(1, event->position().toPoint());
}

void LamriBar::mouseDoubleClickEvent(QMouseEvent *event)
{
    // the second click of a double click counts as a press
    if (event->button() == Qt::LeftButton)
        mouseProcess(-1, event->position().toPoint());
}

void LamriBar::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    if (!m_leftDown)
        hover(QPoint(-1, -1));
}

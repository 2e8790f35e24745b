#pragma once
// LamriBar: the vertical side menu. Up to 6 menus, each a push button stacked at the
// top (menus up to the open one) or at the bottom (the rest) of the control; the open
// menu's area shows up to 10 items as 32x32 icons with captions. Clicking a menu button
// slides the buttons to open that menu, arrows scroll items that do not fit, and a
// click on an item raises MenuItemClick(menu, item), both numbered from 1.
//
// The control paints into its own surface (picMenu) from an off-screen cache
// (picCache): rows 0-17 the button face, row 21 plain background, and from row 68 the
// icon of every item of every menu at 68 + 32 g (g counting items in menu order).
#include <QElapsedTimer>
#include <QImage>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

class QTimer;
class LamriPropertyBag;

class LamriBar : public QWidget {
    Q_OBJECT
    // The menu content is kept in the host's design through this one property.
    Q_PROPERTY(QString PropertyBag READ PropertyBag WRITE setPropertyBag)
    Q_PROPERTY(int MenuMax READ MenuMax WRITE setMenuMax DESIGNABLE false STORED false)
    Q_PROPERTY(int MenuCorrente READ MenuCorrente WRITE setMenuCorrente DESIGNABLE false STORED false)
    Q_PROPERTY(int MenuAvvio READ MenuAvvio WRITE setMenuAvvio DESIGNABLE false STORED false)
    Q_PROPERTY(QString MenuNome READ MenuNome WRITE setMenuNome DESIGNABLE false STORED false)
    Q_PROPERTY(int SottoMenuMax READ SottoMenuMax WRITE setSottoMenuMax DESIGNABLE false STORED false)
    Q_PROPERTY(int SottoMenuCorrente READ SottoMenuCorrente WRITE setSottoMenuCorrente DESIGNABLE false STORED false)
    Q_PROPERTY(QString SottoMenuNome READ SottoMenuNome WRITE setSottoMenuNome DESIGNABLE false STORED false)
    Q_PROPERTY(QImage SottoMenuIcona READ SottoMenuIcona WRITE setSottoMenuIcona DESIGNABLE false STORED false)
    Q_PROPERTY(QString SottoMenuPictureURL READ SottoMenuPictureURL WRITE setSottoMenuPictureURL DESIGNABLE false STORED false)
    Q_PROPERTY(QString SottoMenuChiave READ SottoMenuChiave WRITE setSottoMenuChiave DESIGNABLE false STORED false)
    Q_PROPERTY(QString SottoMenuTag READ SottoMenuTag WRITE setSottoMenuTag DESIGNABLE false STORED false)
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabledProperty DESIGNABLE false STORED false)
    Q_PROPERTY(QString ToolTipText READ ToolTipText WRITE setToolTipText DESIGNABLE false STORED false)
    Q_PROPERTY(int WhatsThisHelpID READ WhatsThisHelpID WRITE setWhatsThisHelpID DESIGNABLE false STORED false)
    Q_PROPERTY(int MousePointer READ MousePointer WRITE setMousePointer DESIGNABLE false STORED false)
    Q_PROPERTY(bool ClipControls READ ClipControls WRITE setClipControls DESIGNABLE false STORED false)

public:
    static constexpr int kMaxMenus = 6;
    static constexpr int kMaxItems = 10;
    static constexpr int kIconSize = 32;
    static constexpr int kRowHeight = 64;
    static constexpr int kCacheIconRow = 68;
    static constexpr int kArrowSize = 16;

    explicit LamriBar(QWidget *parent = nullptr);
    ~LamriBar() override;

    // Where the three range messages go. The default shows a message box with an OK
    // button; a host (or a test) installs its own. An empty function restores the default.
    using MessageHandler = std::function<void(const QString &text, const QString &title)>;
    static void setMessageHandler(MessageHandler handler);
    // Shows a message through the installed handler (or the default box).
    static void showMessage(const QString &text, const QString &title);

    // --- properties ---------------------------------------------------------------
    int MenuMax() const;
    void setMenuMax(int n);
    int MenuCorrente() const { return m_menuCorrente; }
    void setMenuCorrente(int n);
    int MenuAvvio() const { return m_menuAvvio; }
    void setMenuAvvio(int n);
    QString MenuNome() const;
    void setMenuNome(const QString &text);
    int SottoMenuMax() const;
    void setSottoMenuMax(int n);
    int SottoMenuCorrente() const { return m_sottoMenuCorrente; }
    void setSottoMenuCorrente(int n);
    QString SottoMenuNome() const;
    void setSottoMenuNome(const QString &text);
    QImage SottoMenuIcona() const;
    void setSottoMenuIcona(const QImage &picture);
    QString SottoMenuPictureURL() const;
    void setSottoMenuPictureURL(const QString &address);
    QString SottoMenuChiave() const;
    void setSottoMenuChiave(const QString &key);
    QString SottoMenuTag() const;
    void setSottoMenuTag(const QString &tag);
    // Stored and persisted only: they do not change how the control behaves.
    bool Enabled() const { return m_enabled; }
    void setEnabledProperty(bool on);
    QString ToolTipText() const { return m_toolTipText; }
    void setToolTipText(const QString &text);
    int WhatsThisHelpID() const { return m_whatsThisHelpId; }
    void setWhatsThisHelpID(int id);
    int MousePointer() const { return m_mousePointer; }
    void setMousePointer(int pointer);
    bool ClipControls() const { return m_clipControls; }
    void setClipControls(bool on);

    // The default item icon (32x32 unless the host gives another picture).
    QImage defaultIcon() const { return m_defaultIcon; }
    void setDefaultIcon(const QImage &picture);

    // --- methods ------------------------------------------------------------------
    void Refresh();
    void SetupCache();
    void AboutBox();

    // --- persistence --------------------------------------------------------------
    // Item icons are written as pictures when the control sits on a form (it has a
    // parent widget), otherwise their picture addresses are written.
    void WriteProperties(LamriPropertyBag &bag) const;
    void ReadProperties(const LamriPropertyBag &bag);
    QByteArray saveProperties() const;            // ini text, section [LamriBar]
    void loadProperties(const QByteArray &iniText);
    bool writeProperties(const QString &iniPath) const;
    bool readProperties(const QString &iniPath);  // false when the file cannot be read
    QString PropertyBag() const;
    void setPropertyBag(const QString &iniText);

    // --- read-only views for the host, the property pages and tests ----------------
    int ButtonHeight() const { return m_buttonHeight; }
    QString menuCaption(int menu) const;
    int menuItemCount(int menu) const;
    int TotalMenuItems() const;
    QString itemCaption(int menu, int item) const;
    QString itemKey(int menu, int item) const;
    QString itemTag(int menu, int item) const;
    QString itemPictureURL(int menu, int item) const;
    QImage itemIcon(int menu, int item) const;
    int TopMenuItem(int menu) const;
    QRect menuButtonRect(int menu) const;  // laid out for the open menu
    QRect itemIconRect(int item) const;    // item of the open menu; null when not drawn
    QRect itemHitRect(int item) const;
    int itemState(int item) const;         // 1 raised, -1 sunken, 0 flat
    bool isArrowShown(int arrowType) const; // 1 up, -1 down
    QRect arrowRect(int arrowType) const;
    bool isAnimating() const;
    void finishAnimation();
    const QImage &surface() const { return m_picMenu; }
    const QImage &cache() const { return m_picCache; }
    QString displayName() const;
    QSize sizeHint() const override { return {120, 480}; }

signals:
    void MenuItemClick(int MenuNumber, int MenuItem);
    // Every property setter reports the property it changed (for a design environment).
    void PropertyChanged(const QString &name);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    struct MenuItem {
        QString Caption, Key, Tag, PictureURL;
        QImage Button;           // the icon as given
        int State = 0;           // 1 raised, -1 sunken, 0 flat
        bool displayed = false;  // drawn at least in part
        bool complete = false;   // drawn down to its caption's bottom
        bool clipped = false;    // crosses the clip line
        QRect iconRect, hitRect, borderRect;
    };
    struct Arrow {
        int ArrowType = 1;
        bool IsDisplayed = false;
        bool pressed = false;
        int State = 0;
        QRect rect;
    };
    struct VMenu {
        QString Caption;
        int ButtonTop = 0;
        int TopMenuItem = 1;
        std::vector<MenuItem> MenuItems;
        Arrow up{1, false, false, 0, QRect()}, down{-1, false, false, 0, QRect()};
    };
    enum class Animation { None, Slide, Scroll };

    VMenu *menu(int m);
    const VMenu *menu(int m) const;
    MenuItem *item(int m, int s);
    const MenuItem *item(int m, int s) const;
    MenuItem *selectedItem() { return item(m_menuCorrente, m_sottoMenuCorrente); }
    const MenuItem *selectedItem() const { return item(m_menuCorrente, m_sottoMenuCorrente); }
    int cacheIndex(int m, int s) const;
    bool painting() const;

    void rangeError(const QString &text) const;
    void changed(const char *name);
    void addMenu();
    void addItem(VMenu &menu, const QString &caption);

    // geometry
    int clipLine(int c) const;
    int areaTop(int c) const { return c * m_buttonHeight; }
    void layoutButtons();
    void layoutItems();

    // drawing
    void resizeSurfaces();
    void paintAll();
    void drawButton(const VMenu &menu, int index, int y);
    void drawItems();
    void drawItemBorder(const MenuItem &item, int state);
    void drawArrow(Arrow &arrow, bool show, int y);
    void hideArrow(Arrow &arrow);
    void drawArrowBorder(const Arrow &arrow, int state);
    void fillFromBackground(int y0, int y1);
    void shiftBand(int top, int bottom, int dy);

    // animation
    void startSlide(int from, int to);
    void startScroll(int direction);
    void animationStep();

    // mouse
    int buttonAt(const QPoint &p) const;
    int itemAt(const QPoint &p) const;
    Arrow *arrowAt(const QPoint &p);
    void mouseProcess(int code, const QPoint &p);
    void hover(const QPoint &p);
    void pressAt(const QPoint &p);

    void pictureArrived(int m, int s, const QString &address);

    std::vector<VMenu> m_menus;
    int m_menuCorrente = 0;
    int m_sottoMenuCorrente = 0;
    int m_menuAvvio = 1;
    int m_buttonHeight = 18;
    bool m_enabled = false;
    QString m_toolTipText;
    int m_whatsThisHelpId = 0;
    int m_mousePointer = 0;
    bool m_clipControls = false;
    bool m_autoRedraw = false;

    QImage m_defaultIcon;
    QImage m_imgUp, m_imgDown;
    QImage m_picMenu;   // visible surface
    QImage m_picCache;  // off-screen cache

    bool m_reading = false;
    int m_paintedMenu = 0;      // menu shown by the last paint
    int m_pressedItem = 0;      // item pressed last (0 none)
    bool m_leftDown = false;

    Animation m_animation = Animation::None;
    QTimer *m_timer = nullptr;
    int m_animRemaining = 0;    // pixels still to move
    int m_animDir = 0;          // -1 band moves up, +1 down
    int m_animTop = 0;          // band limits on the surface
    int m_animBottom = 0;
    QElapsedTimer m_animClock;
};

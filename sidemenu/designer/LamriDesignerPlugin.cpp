#include "LamriDesignerPlugin.h"

#include "LamriBar.h"
#include "LamriPictures.h"
#include "LamriPropertyPages.h"

#include <QAction>
#include <QDesignerFormEditorInterface>
#include <QDesignerFormWindowCursorInterface>
#include <QDesignerFormWindowInterface>
#include <QExtensionManager>
#include <QIcon>
#include <QPixmap>

LamriBarPlugin::LamriBarPlugin(QObject *parent) : QObject(parent) {}

QString LamriBarPlugin::name() const { return QStringLiteral("LamriBar"); }
QString LamriBarPlugin::group() const { return QStringLiteral("Kalvo"); }
QString LamriBarPlugin::toolTip() const { return QStringLiteral("Menu laterale LamriBar"); }
QString LamriBarPlugin::whatsThis() const
{
    return QStringLiteral("Menu laterale: fino a 6 menu a pulsanti scorrevoli con 10 voci ciascuno. "
                          "Tasto destro, \"Modifica menu...\" per le pagine delle proprietà.");
}
QString LamriBarPlugin::includeFile() const { return QStringLiteral("LamriBar.h"); }
QIcon LamriBarPlugin::icon() const { return QIcon(QPixmap::fromImage(lamri::defaultItemIcon())); }
bool LamriBarPlugin::isContainer() const { return false; }
QWidget *LamriBarPlugin::createWidget(QWidget *parent) { return new LamriBar(parent); }
bool LamriBarPlugin::isInitialized() const { return m_initialized; }

void LamriBarPlugin::initialize(QDesignerFormEditorInterface *core)
{
    if (m_initialized)
        return;
    if (core && core->extensionManager()) {
        QExtensionManager *manager = core->extensionManager();
        manager->registerExtensions(new LamriTaskMenuFactory(manager), Q_TYPEID(QDesignerTaskMenuExtension));
    }
    m_initialized = true;
}

QString LamriBarPlugin::domXml() const
{
    return QStringLiteral(
        "<ui language=\"c++\" displayname=\"LamriBar\">\n"
        " <widget class=\"LamriBar\" name=\"LamriBar1\">\n"
        "  <property name=\"geometry\">\n"
        "   <rect><x>0</x><y>0</y><width>120</width><height>480</height></rect>\n"
        "  </property>\n"
        " </widget>\n"
        "</ui>\n");
}

LamriTaskMenu::LamriTaskMenu(LamriBar *bar, QObject *parent)
    : QObject(parent), m_bar(bar),
      m_edit(new QAction(QStringLiteral("Modifica menu..."), this)),
      m_about(new QAction(QStringLiteral("Informazioni su LamriBar..."), this))
{
    connect(m_edit, &QAction::triggered, this, &LamriTaskMenu::editMenus);
    connect(m_about, &QAction::triggered, this, [this] {
        if (m_bar)
            m_bar->AboutBox();
    });
}

QAction *LamriTaskMenu::preferredEditAction() const { return m_edit; }
QList<QAction *> LamriTaskMenu::taskActions() const { return {m_edit, m_about}; }

void LamriTaskMenu::editMenus()
{
    if (!m_bar)
        return;
    LamriPropertyPages pages(m_bar->window());
    pages.setControl(m_bar);
    connect(&pages, &LamriPropertyPages::applied, this, [this] {
        if (!m_bar)
            return;
        // Through the form window: the form is marked modified and the change undoable.
        if (QDesignerFormWindowInterface *form = QDesignerFormWindowInterface::findFormWindow(m_bar))
            form->cursor()->setWidgetProperty(m_bar, QStringLiteral("PropertyBag"), m_bar->PropertyBag());
    });
    pages.exec();
}

LamriTaskMenuFactory::LamriTaskMenuFactory(QExtensionManager *parent) : QExtensionFactory(parent) {}

QObject *LamriTaskMenuFactory::createExtension(QObject *object, const QString &iid, QObject *parent) const
{
    if (iid != Q_TYPEID(QDesignerTaskMenuExtension))
        return nullptr;
    if (auto *bar = qobject_cast<LamriBar *>(object))
        return new LamriTaskMenu(bar, parent);
    return nullptr;
}

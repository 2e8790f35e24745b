#pragma once
// Qt Designer support for LamriBar: the widget in the "Kalvo" group of the widget box,
// and a task menu ("Modifica menu...") that opens the control's property pages. What the
// pages apply is written back through the form window, so it is saved in the form (as
// the PropertyBag property) and can be undone.
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#include <QDesignerTaskMenuExtension>
#include <QExtensionFactory>
#include <QObject>
#include <QPointer>

class LamriBar;
class QAction;

class LamriBarPlugin : public QObject, public QDesignerCustomWidgetInterface {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetInterface")
    Q_INTERFACES(QDesignerCustomWidgetInterface)
public:
    explicit LamriBarPlugin(QObject *parent = nullptr);

    QString name() const override;
    QString group() const override;
    QString toolTip() const override;
    QString whatsThis() const override;
    QString includeFile() const override;
    QIcon icon() const override;
    bool isContainer() const override;
    QWidget *createWidget(QWidget *parent) override;
    bool isInitialized() const override;
    void initialize(QDesignerFormEditorInterface *core) override;
    QString domXml() const override;

private:
    bool m_initialized = false;
};

class LamriTaskMenu : public QObject, public QDesignerTaskMenuExtension {
    Q_OBJECT
    Q_INTERFACES(QDesignerTaskMenuExtension)
public:
    LamriTaskMenu(LamriBar *bar, QObject *parent);
    QAction *preferredEditAction() const override;
    QList<QAction *> taskActions() const override;

private:
    void editMenus();
    QPointer<LamriBar> m_bar;
    QAction *m_edit;
    QAction *m_about;
};

class LamriTaskMenuFactory : public QExtensionFactory {
    Q_OBJECT
public:
    explicit LamriTaskMenuFactory(QExtensionManager *parent = nullptr);

protected:
    QObject *createExtension(QObject *object, const QString &iid, QObject *parent) const override;
};

#pragma once
// Design-time editing of a LamriBar: the three property pages "Menu principali",
// "Sotto Menu" and "Oggetti del Sotto Menu" in one dialog. The pages show the values of
// the control given to setControl and write them back on Apply (OK applies too); only
// pages that were edited are written, each in its fixed order.
#include <QDialog>
#include <QImage>
#include <functional>

class LamriBar;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

class LamriPropertyPages : public QDialog {
    Q_OBJECT
public:
    enum Page { Menues = 0, MenuObjects = 1, MenuItemObjects = 2 };

    explicit LamriPropertyPages(QWidget *parent = nullptr);

    void setControl(LamriBar *control);
    LamriBar *control() const { return m_control; }
    bool isPageChanged(Page page) const { return m_changed[page]; }

    // Picks the icon file for "Seleziona..."; an empty result means cancelled. The
    // default is the open-file dialog titled "Seleziona icona".
    using FileChooser = std::function<QString(QWidget *parent)>;
    void setFileChooser(FileChooser chooser) { m_chooser = std::move(chooser); }
    static QString chooseIconFile(QWidget *parent);

public slots:
    void apply();
    void browse();

signals:
    // After Apply wrote to the control.
    void applied();

private:
    void showValues();
    void markChanged(Page page);
    QLineEdit *addField(QWidget *page, const char *name, const QString &label, bool numeric);

    LamriBar *m_control = nullptr;
    bool m_changed[3] = {false, false, false};
    bool m_loading = false;
    QImage m_picture;
    FileChooser m_chooser;

    QTabWidget *m_tabs = nullptr;
    QLineEdit *txtMenuCur = nullptr, *txtMenusMax = nullptr, *txtMenuStartup = nullptr;
    QLineEdit *txtMenuCaption = nullptr, *txtMenuItemCur = nullptr, *txtMenuItemsMax = nullptr;
    QLineEdit *txtMenuItemCaption = nullptr, *txtMenuItemKey = nullptr, *txtMenuItemTag = nullptr;
    QLabel *imgPicture = nullptr;
    QPushButton *cmdBrowse = nullptr;
    QPushButton *m_applyButton = nullptr;
};

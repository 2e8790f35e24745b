#include "LamriPropertyPages.h"

#include "LamriBar.h"
#include "LamriPictures.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

LamriPropertyPages::LamriPropertyPages(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("LamriPropertyPages"));
    setWindowTitle(QStringLiteral("Proprietà LamriBar"));
    auto *layout = new QVBoxLayout(this);
    m_tabs = new QTabWidget(this);
    layout->addWidget(m_tabs);

    auto *menues = new QWidget(m_tabs);
    menues->setObjectName(QStringLiteral("Menues"));
    new QFormLayout(menues);
    txtMenuCur = addField(menues, "txtMenuCur", QStringLiteral("Menu Corrente:"), true);
    txtMenusMax = addField(menues, "txtMenusMax", QStringLiteral("Numero massimo di menu:"), true);
    txtMenuStartup = addField(menues, "txtMenuStartup", QStringLiteral("Menu di avvio:"), true);
    m_tabs->addTab(menues, QStringLiteral("Menu principali"));

    auto *objects = new QWidget(m_tabs);
    objects->setObjectName(QStringLiteral("MenuObjects"));
    new QFormLayout(objects);
    txtMenuCaption = addField(objects, "txtMenuCaption", QStringLiteral("Nome del Menu:"), false);
    txtMenuItemCur = addField(objects, "txtMenuItemCur", QStringLiteral("Sotto Menu corrente:"), true);
    txtMenuItemsMax = addField(objects, "txtMenuItemsMax", QStringLiteral("Numero massimo di sottoMenu"), true);
    m_tabs->addTab(objects, QStringLiteral("Sotto Menu"));

    auto *items = new QWidget(m_tabs);
    items->setObjectName(QStringLiteral("MenuItemObjects"));
    auto *itemForm = new QFormLayout(items);
    txtMenuItemCaption = addField(items, "txtMenuItemCaption", QStringLiteral("Nome sotto Menu:"), false);
    txtMenuItemKey = addField(items, "txtMenuItemKey", QStringLiteral("Chiave sotto Menu:"), false);
    txtMenuItemTag = addField(items, "txtMenuItemTag", QStringLiteral("Tag sotto Menu:"), false);
    auto *pictureRow = new QHBoxLayout;
    imgPicture = new QLabel(items);
    imgPicture->setObjectName(QStringLiteral("imgPicture"));
    imgPicture->setFixedSize(36, 36);
    imgPicture->setAlignment(Qt::AlignCenter);
    imgPicture->setFrameShape(QFrame::StyledPanel);
    cmdBrowse = new QPushButton(QStringLiteral("Seleziona..."), items);
    cmdBrowse->setObjectName(QStringLiteral("cmdBrowse"));
    pictureRow->addWidget(imgPicture);
    pictureRow->addWidget(cmdBrowse);
    pictureRow->addStretch();
    itemForm->addRow(QStringLiteral("Icona del sotto Menu:"), pictureRow);
    m_tabs->addTab(items, QStringLiteral("Oggetti del Sotto Menu"));
    connect(cmdBrowse, &QPushButton::clicked, this, &LamriPropertyPages::browse);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this);
    m_applyButton = buttons->button(QDialogButtonBox::Apply);
    m_applyButton->setObjectName(QStringLiteral("cmdApply"));
    m_applyButton->setEnabled(false);
    connect(m_applyButton, &QPushButton::clicked, this, &LamriPropertyPages::apply);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { apply(); accept(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

QLineEdit *LamriPropertyPages::addField(QWidget *page, const char *name, const QString &label, bool numeric)
{
    auto *edit = new QLineEdit(page);
    edit->setObjectName(QString::fromLatin1(name));
    if (numeric)
        edit->setValidator(new QIntValidator(-9999, 9999, edit)); // range checks are the control's
    static_cast<QFormLayout *>(page->layout())->addRow(label, edit);
    const Page which = page->objectName() == QLatin1String("Menues") ? Menues
                     : page->objectName() == QLatin1String("MenuObjects") ? MenuObjects : MenuItemObjects;
    connect(edit, &QLineEdit::textEdited, this, [this, which] { markChanged(which); });
    return edit;
}

void LamriPropertyPages::markChanged(Page page)
{
    if (m_loading)
        return;
    m_changed[page] = true;
    m_applyButton->setEnabled(m_control != nullptr);
}

void LamriPropertyPages::setControl(LamriBar *control)
{
    m_control = control;
    showValues();
}

void LamriPropertyPages::showValues()
{
    m_loading = true;
    for (bool &c : m_changed)
        c = false;
    m_applyButton->setEnabled(false);
    const bool have = m_control != nullptr;
    const auto number = [have](int v) { return have ? QString::number(v) : QString(); };
    txtMenuCur->setText(number(have ? m_control->MenuCorrente() : 0));
    txtMenusMax->setText(number(have ? m_control->MenuMax() : 0));
    txtMenuStartup->setText(number(have ? m_control->MenuAvvio() : 0));
    txtMenuCaption->setText(have ? m_control->MenuNome() : QString());
    txtMenuItemCur->setText(number(have ? m_control->SottoMenuCorrente() : 0));
    txtMenuItemsMax->setText(number(have ? m_control->SottoMenuMax() : 0));
    txtMenuItemCaption->setText(have ? m_control->SottoMenuNome() : QString());
    txtMenuItemKey->setText(have ? m_control->SottoMenuChiave() : QString());
    txtMenuItemTag->setText(have ? m_control->SottoMenuTag() : QString());
    m_picture = have ? m_control->SottoMenuIcona() : QImage();
    imgPicture->setPixmap(m_picture.isNull() ? QPixmap()
                          : QPixmap::fromImage(m_picture.scaled(32, 32, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    m_loading = false;
}

void LamriPropertyPages::apply()
{
    if (!m_control)
        return;
    // An empty numeric field leaves its property alone.
    const auto applyNumber = [](QLineEdit *edit, auto setter) {
        bool ok = false;
        const int v = edit->text().trimmed().toInt(&ok);
        if (ok)
            setter(v);
    };
    LamriBar *c = m_control;
    if (m_changed[Menues]) {
        applyNumber(txtMenuStartup, [c](int v) { c->setMenuAvvio(v); });
        applyNumber(txtMenusMax, [c](int v) { c->setMenuMax(v); });
        applyNumber(txtMenuCur, [c](int v) { c->setMenuCorrente(v); });
    }
    if (m_changed[MenuObjects]) {
        applyNumber(txtMenuItemsMax, [c](int v) { c->setSottoMenuMax(v); });
        applyNumber(txtMenuItemCur, [c](int v) { c->setSottoMenuCorrente(v); });
        c->setMenuNome(txtMenuCaption->text());
    }
    if (m_changed[MenuItemObjects]) {
        c->setSottoMenuNome(txtMenuItemCaption->text());
        if (!m_picture.isNull())
            c->setSottoMenuIcona(m_picture);
        c->setSottoMenuChiave(txtMenuItemKey->text());
        c->setSottoMenuTag(txtMenuItemTag->text());
    }
    showValues();
    emit applied();
}

QString LamriPropertyPages::chooseIconFile(QWidget *parent)
{
    QFileDialog dialog(parent, QStringLiteral("Seleziona icona"), QDir::currentPath(),
                       QStringLiteral("File icona (*.ico)"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("ico"));
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void LamriPropertyPages::browse()
{
    const QString path = m_chooser ? m_chooser(this) : chooseIconFile(this);
    if (path.isEmpty())
        return; // cancelled: nothing changes
    const QImage picture = lamri::loadIconFile(path);
    if (picture.isNull()) {
        LamriBar::showMessage(QStringLiteral("Impossibile caricare l'icona \"%1\".").arg(QDir::toNativeSeparators(path)),
                              m_control ? m_control->displayName() : QStringLiteral("LamriBar"));
        return;
    }
    m_picture = picture;
    imgPicture->setPixmap(QPixmap::fromImage(picture.scaled(32, 32, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    markChanged(MenuItemObjects);
}

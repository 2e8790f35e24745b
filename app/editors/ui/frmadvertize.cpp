#include "editors/ui/frmadvertize.h"

#include "shell/AppContext.h"
#include "shell/ScreenFonts.h"

#include <QCheckBox>
#include <QLayout>

namespace kalvo {

frmadvertize::frmadvertize(AppContext &context, QWidget *parent)
    : LineEditorWindow(context, LineTable::Advert,
                       Texts{"frmadvertize",
                             "Reklamna poruka",
                             "Reklamna Poruka",
                             "Memorisanje unetih podataka",
                             {"Prvi red reklamne poruke", "Drugi red reklamne poruke", "Treci red reklamne poruke",
                              "Cetvrti red reklamne poruke", "Peti red reklamne poruke", "Sesti red reklamne poruke"},
                             true},
                       parent)
{
    // the advertising texts are taken to be in the form the register is set to
    m_ctx.data.CyrillicFormFlags.advertLines = m_ctx.data.LinkSettings.DisplayCyrillic;
    m_check = new QCheckBox(QStringLiteral("Cirilica"), this);
    m_check->setObjectName(QStringLiteral("Check1"));
    m_check->setChecked(m_ctx.data.CyrillicFormFlags.advertLines);
    if (auto *box = qobject_cast<QBoxLayout *>(layout()))
        box->insertWidget(box->count() - 1, m_check);
    connect(m_check, &QCheckBox::clicked, this, &frmadvertize::Check1_Click);
}

void frmadvertize::Check1_Click(bool checked)
{
    m_ctx.data.CyrillicFormFlags.advertLines = checked;
    setBoxFont(QString::fromLatin1(checked ? kCyrillicFont : kLatinFont));
}

} // namespace kalvo

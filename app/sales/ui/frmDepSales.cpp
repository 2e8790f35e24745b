#include "sales/ui/frmDepSales.h"

#include "data/Codec.h"
#include "data/RegisterText.h"
#include "sales/SalesViews.h"
#include "shell/AppContext.h"
#include "shell/ScreenFonts.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QVBoxLayout>

namespace kalvo {

namespace {


} // namespace

SalesTotalsView::SalesTotalsView(AppContext &context, const char *formName, const QString &caption,
                                 const QString &heading, const QList<Column> &columns, QWidget *parent)
    : QWidget(parent), m_ctx(context)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QString::fromLatin1(formName));
    setWindowTitle(caption);

    auto *title = new QLabel(heading, this);
    QFont big = title->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.3);
    title->setFont(big);

    auto *grid = new QGridLayout;
    for (int i = 0; i < columns.size(); ++i) {
        const Column &c = columns[i];
        auto *list = new QListWidget(this);
        list->setObjectName(QString::fromLatin1(c.name));
        list->setToolTip(QString::fromLatin1(c.tip));
        grid->addWidget(new QLabel(QString::fromLatin1(c.heading), this), 0, i);
        grid->addWidget(list, 1, i);
        grid->setColumnStretch(i, i == 0 ? 3 : 1);
        if (i == 0) {
            m_lstplu = list;
        } else {
            list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            m_others.append(list);
            connect(list, &QListWidget::itemClicked, this, [this, list] { m_lstplu->setCurrentRow(list->currentRow()); });
        }
    }
    connect(m_lstplu, &QListWidget::currentRowChanged, this, &SalesTotalsView::SyncLists);
    connect(m_lstplu->verticalScrollBar(), &QScrollBar::valueChanged, this, &SalesTotalsView::SyncLists);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addLayout(grid, 1);
    resize(620, 420);
}

void SalesTotalsView::addLine(const std::string &line, const QStringList &values)
{
    m_lines.append(line);
    m_lstplu->addItem(ansiToUnicode(QByteArray::fromStdString(line)));
    for (int i = 0; i < m_others.size(); ++i)
        m_others[i]->addItem(i < values.size() ? values[i] : QString());
}

void SalesTotalsView::setListFont(const QString &family)
{
    QFont f = m_lstplu->font();
    f.setFamily(family);
    m_lstplu->setFont(f);
}

void SalesTotalsView::SyncLists()
{
    const int row = m_lstplu->currentRow();
    const int top = m_lstplu->verticalScrollBar()->value();
    for (QListWidget *l : m_others) {
        if (row >= 0 && row < l->count())
            l->setCurrentRow(row);
        l->verticalScrollBar()->setValue(top);
    }
}

void SalesTotalsView::ApplyScript()
{
    const bool on = m_ctx.data.CyrillicMode;
    applyCyrillicMode(on, on ? m_ctx.settings.fontcyrilic : m_ctx.settings.fontlatin);
}

void SalesTotalsView::applyCyrillicMode(bool on, const QString &fontFamily)
{
    for (int i = 0; i < m_lines.size() && i < m_lstplu->count(); ++i)
        m_lstplu->item(i)->setText(ansiToUnicode(QByteArray::fromStdString(ConvertRegisterText(m_lines[i], !on))));
    if (!fontFamily.isEmpty())
        setListFont(fontFamily);
}

frmDepSales::frmDepSales(AppContext &context, QWidget *parent)
    : SalesTotalsView(context, "frmDepSales", QStringLiteral("Prodaja po odeljenjima"),
                      QStringLiteral("Pregled Prodaje Odeljenja"),
                      {{"lstplu", "Kod   Naziv", "Naziv odeljenja"},
                       {"ListR", "Kolicina", "Broj prodatih komada"},
                       {"ListI", "Vrednost prodaje", "Vrednost prodate robe"}},
                      parent)
{
    m_ctx.CurrentFormName = QStringLiteral("frmDepSales");
    setListFont(QString::fromLatin1(m_ctx.data.LinkSettings.DisplayCyrillic ? kCyrillicFont : kLatinFont));
    for (const DepartmentSalesRow &row : DepartmentSales(m_ctx.data))
        addLine(row.line, {row.quantity, row.amount});
    ApplyScript();
}

frmOperSales::frmOperSales(AppContext &context, QWidget *parent)
    : SalesTotalsView(context, "frmOperSales", QStringLiteral("Prodaja kasira"),
                      QStringLiteral("Pregled Prodaje Kasira"),
                      {{"lstplu", "Kod   Ime", "Redni broj i ime kasira"},
                       {"ListS", "Sifra", "Pristupna sifra kasira"},
                       {"ListR", "Br. racuna", "Broj izdatih racuna"},
                       {"ListI", "Iznos", "Vrednost prodaje"}},
                      parent)
{
    for (const OperatorSalesRow &row : OperatorSales(m_ctx.data))
        addLine(row.line, {row.code, row.receipts, row.amount});
    m_ctx.CurrentFormName = QStringLiteral("frmOperSales");
    setListFont(QString::fromLatin1(m_ctx.data.LinkSettings.DisplayCyrillic ? kCyrillicFont : kLatinFont));
    ApplyScript();
}

} // namespace kalvo

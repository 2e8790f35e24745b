#include "register/ui/KindList.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>

namespace kalvo {

namespace {

constexpr int kPictureSize = 16;

} // namespace

QPixmap resultPicture(bool success, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    p.setPen(Qt::NoPen);
    p.setBrush(success ? QColor(0x2E, 0x9E, 0x3A) : QColor(0xD0, 0x2B, 0x2B));
    p.drawEllipse(QRectF(0.5, 0.5, s - 1, s - 1));
    QPen pen(Qt::white, s / 7.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    if (success) {
        QPainterPath tick;
        tick.moveTo(s * 0.27, s * 0.52);
        tick.lineTo(s * 0.44, s * 0.69);
        tick.lineTo(s * 0.74, s * 0.34);
        p.drawPath(tick);
    } else {
        p.drawLine(QPointF(s * 0.32, s * 0.32), QPointF(s * 0.68, s * 0.68));
        p.drawLine(QPointF(s * 0.68, s * 0.32), QPointF(s * 0.32, s * 0.68));
    }
    return pixmap;
}

KindList::KindList(const QStringList &items, const QStringList &pictures, QWidget *parent)
    : QWidget(parent)
{
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("List1"));
    m_list->setSelectionMode(QAbstractItemView::MultiSelection);
    m_list->setUniformItemSizes(true);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    const QFontMetrics fm(m_list->font());
    const int rowHeight = qMax(fm.height() + 6, kPictureSize + 4);
    int textWidth = 0;
    for (const QString &text : items) {
        auto *item = new QListWidgetItem(text, m_list);
        const int width = fm.horizontalAdvance(text) + 16;
        item->setSizeHint(QSize(width, rowHeight));
        textWidth = qMax(textWidth, width);
    }
    // every row visible at once: the pictures stay beside their rows
    const int frame = 2 * m_list->frameWidth();
    const int listHeight = int(items.size()) * rowHeight + frame;
    m_list->setFixedHeight(listHeight);
    m_list->setMinimumWidth(textWidth + frame + 24);

    m_column = new QWidget(this);
    m_column->setFixedSize(kPictureSize + 8, listHeight);
    const QPixmap ok = resultPicture(true, kPictureSize);
    const QPixmap failed = resultPicture(false, kPictureSize);
    for (int row = 0; row < items.size(); ++row) {
        const QString name = row < pictures.size() ? pictures[row] : QString();
        for (int index = 0; index < 2; ++index) {
            auto *label = new QLabel(m_column);
            label->setObjectName(name);
            label->setProperty("index", index);
            label->setPixmap(index == 0 ? ok : failed);
            label->setFixedSize(kPictureSize, kPictureSize);
            label->setToolTip(index == 0 ? QStringLiteral("Uspesno") : QStringLiteral("Neuspesno"));
            label->hide();
            (index == 0 ? m_success : m_failure).append(label);
        }
    }

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(m_list, 0, Qt::AlignTop);
    layout->addWidget(m_column, 0, Qt::AlignTop);
    layout->addStretch(1);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QList<int> KindList::selectedRows() const
{
    QList<int> rows;
    for (int row = 0; row < m_list->count(); ++row)
        if (m_list->item(row)->isSelected())
            rows.append(row);
    return rows;
}

QLabel *KindList::picture(int row, int index) const
{
    const auto &labels = index == 0 ? m_success : m_failure;
    return row >= 0 && row < labels.size() ? labels[row] : nullptr;
}

void KindList::resetPictures()
{
    for (QLabel *label : m_success)
        label->hide();
    for (QLabel *label : m_failure)
        label->hide();
}

void KindList::showResult(int row, bool success)
{
    if (row < 0 || row >= m_success.size())
        return;
    m_success[row]->setVisible(success);
    m_failure[row]->setVisible(!success);
}

void KindList::placePictures()
{
    for (int row = 0; row < m_success.size() && row < m_list->count(); ++row) {
        const QRect rect = m_list->visualItemRect(m_list->item(row));
        const QPoint at = m_list->viewport()->mapTo(m_list, rect.topLeft());
        const int y = at.y() + (rect.height() - kPictureSize) / 2;
        m_success[row]->move(4, y);
        m_failure[row]->move(4, y);
    }
}

void KindList::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placePictures();
}

void KindList::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    placePictures();
}

} // namespace kalvo

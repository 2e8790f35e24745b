#pragma once
// The list of data kinds of the send and receive windows, with a success and a failure
// picture beside every row.
//
// The list is `List1` (multi-selection). The two pictures of a row share the row's picture
// name as objectName (ImgRep, ImgPLU, ...) and hold their element number in the property
// "index": 0 is the success picture, 1 the failure picture. Both are hidden until the kind
// has been tried.
#include <QList>
#include <QPixmap>
#include <QStringList>
#include <QWidget>

class QLabel;
class QListWidget;

namespace kalvo {

// The pictures shown beside a kind: a green tick for success, a red cross for failure.
QPixmap resultPicture(bool success, int size = 16);

class KindList : public QWidget {
    Q_OBJECT
public:
    // items: the list texts in order; pictures: the picture name of each row.
    KindList(const QStringList &items, const QStringList &pictures, QWidget *parent = nullptr);

    QListWidget *list() const { return m_list; }
    // The rows selected now, in list order.
    QList<int> selectedRows() const;
    // Hides every result picture.
    void resetPictures();
    // Shows the success or the failure picture of a row (and hides the other one).
    void showResult(int row, bool success);
    // The picture of a row: index 0 success, 1 failure.
    QLabel *picture(int row, int index) const;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void placePictures();

    QListWidget *m_list;
    QWidget *m_column;
    QList<QLabel *> m_success;
    QList<QLabel *> m_failure;
};

} // namespace kalvo

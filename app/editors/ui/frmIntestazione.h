#pragma once
// The receipt header lines ("Zaglavlje") and, built on the same base, the advertising lines
// (frmadvertize.h): six one-line boxes, each line bold and/or centred.
//
// Controls by objectName: rtftext (the six boxes, in order; property "index" 0..5),
// Toolbar1 (actions keyed "Bold", "Center", "Align Left", "Aggiorna", "Annulla" and, in the
// advertising window, "Align Right"; the key is each action's data and objectName) and, in
// the advertising window, Check1 ("Cirilica").
#include "editors/LineEditing.h"
#include "shell/ui/WindowHooks.h"

#include <QWidget>

#include <array>

class QAction;
class QCheckBox;
class QLineEdit;
class QToolBar;

namespace kalvo {

struct AppContext;

class LineEditorWindow : public QWidget, public RefreshableWindow, public LineWidthAware, public CyrillicSwitchable {
    Q_OBJECT
public:
    static constexpr int kBoxes = ProgrammingData::kLinesUsed;

    QLineEdit *box(int index) const { return m_boxes[std::size_t(index)]; }
    // The box the tool-bar acts on (the one that had the focus last).
    int currentBox() const { return m_current; }

    // The one handler of every tool-bar button; dispatches on the button's key.
    void Toolbar1_ButtonClick(QAction *button);
    // Checks and stores the six lines; false (with the message shown) when a line is too long.
    bool save();

    void refreshFromData() override { loadLines(); }
    void applyLineWidth() override;
    void applyCyrillicMode(bool on, const QString &fontFamily) override;

protected:
    struct Texts {
        const char *name;
        const char *caption;
        const char *heading;
        const char *saveTip;
        std::array<const char *, kBoxes> tips;
        bool alignRight;  // the advertising window's extra (inactive) button
    };
    LineEditorWindow(AppContext &context, LineTable table, const Texts &texts, QWidget *parent);

    bool eventFilter(QObject *watched, QEvent *event) override;
    void setBoxFont(const QString &family);

    AppContext &m_ctx;

private:
    void loadLines();
    void setBold(int index, bool bold);
    void closeWindow();

    LineTable m_table;
    QString m_name;
    QToolBar *m_toolbar;
    std::array<QLineEdit *, kBoxes> m_boxes{};
    std::array<qreal, kBoxes> m_normalSize{};
    std::array<bool, kBoxes> m_centered{};
    int m_current = 0;
};

class frmIntestazione : public LineEditorWindow {
    Q_OBJECT
public:
    explicit frmIntestazione(AppContext &context, QWidget *parent = nullptr);
};

} // namespace kalvo

#pragma once
// The advertising lines printed at the end of the receipt ("Reklamna poruka"); the header
// window's twin with a "Cirilica" box (Check1) and an "Align Right" button that does nothing.
#include "editors/ui/frmIntestazione.h"

namespace kalvo {

class frmadvertize : public LineEditorWindow {
    Q_OBJECT
public:
    explicit frmadvertize(AppContext &context, QWidget *parent = nullptr);

    QCheckBox *Check1() const { return m_check; }

private:
    void Check1_Click(bool checked);
    QCheckBox *m_check;
};

} // namespace kalvo

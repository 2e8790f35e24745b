#pragma once
// "Tipovi artikala": renames the eight article types (see frmMesUnits.h for the controls).
#include "editors/ui/frmMesUnits.h"

namespace kalvo {

class frmTipArt : public NameTableWindow {
    Q_OBJECT
public:
    explicit frmTipArt(AppContext &context, QWidget *parent = nullptr);
};

} // namespace kalvo

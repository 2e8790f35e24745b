#include "editors/ui/frmTipArt.h"

namespace kalvo {

frmTipArt::frmTipArt(AppContext &context, QWidget *parent)
    : NameTableWindow(context, NameTable::ArticleTypes,
                      Texts{"frmtypes", "Tipovi artikala", "Tipovi Artikala", "Spisak naziva tipova artikala",
                            "Naziv tipa artikla", "Memorisanje unetog naziva"},
                      parent)
{
}

} // namespace kalvo

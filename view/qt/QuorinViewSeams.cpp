// What other parts of the view will provide. Each is a no-op until its
// part is built, so the link events can already call them in their places.
#include "view/qt/QuorinView.h"

void CQuorinView::RequestPatientData()
{
    // Nothing in the live recording reads a "patient data requested" mark:
    // the close names and fills the file from the record as it then is.
}

void CQuorinView::ArmGasProbeMessage()
{
    m_gasArming.Arm();
}


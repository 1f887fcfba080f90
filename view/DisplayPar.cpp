#include "view/DisplayPar.h"

#include <memory>

#include "link/LiveData.h"
#include "view/NumericFormat.h"

bool PostDisplayPar(IMessagePoster& poster, WindowHandle window, int32_t slot)
{
    static const uint32_t message = RegisterWindowMessage("CDispView_DisplayPar");
    auto record = std::make_unique<DisplayPar>();
    record->slot = slot;
    PostedMessage posted;
    posted.target = window;
    posted.message = message;
    posted.wParam = reinterpret_cast<std::uintptr_t>(record.get());
    if (!poster.Post(posted))
        return false;
    record.release();  // the handler's now
    return true;
}

void BlankPresentBoxes(IMessagePoster& poster, WindowHandle window, const RemoteConfiguration& config)
{
    for (int slot = 0; slot < kParameterCount; ++slot)
        if (ParameterPresent(slot, g_liveData, config))
            (void)PostDisplayPar(poster, window, slot);  // frees the record when refused
}

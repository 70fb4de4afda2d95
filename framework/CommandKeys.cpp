#include "framework/CommandKeys.h"

#include "framework/MDIFrameWnd.h"
#include "framework/Wnd.h"

namespace {

struct CommandKeysState {
    int depth = 0;
    HWND hOrigin = nullptr;
    bool chosen = false;
};

CommandKeysState& State()
{
    static thread_local CommandKeysState state;
    return state;
}

} // namespace

CCommandKeys::CCommandKeys(HWND hOrigin)
    : m_bOuter(State().depth == 0), m_hOrigin(hOrigin), m_hActive(::GetActiveWindow()),
      m_hActiveChild(AfxGetActiveMdiChild(m_hActive))
{
    CommandKeysState& state = State();
    if (m_bOuter) {
        state.hOrigin = hOrigin;
        state.chosen = false;
    }
    state.depth++;
}

CCommandKeys::~CCommandKeys()
{
    CommandKeysState& state = State();
    state.depth--;
    if (!m_bOuter)
        return;
    const bool chosen = state.chosen;
    state.hOrigin = nullptr;
    state.chosen = false;
    if (chosen || m_hOrigin == nullptr || ::GetFocus() == m_hOrigin)
        return;
    // Another window put in front is where the command took the user.
    const HWND hActive = ::GetActiveWindow();
    if (hActive != m_hActive || AfxGetActiveMdiChild(hActive) != m_hActiveChild)
        return;
    AfxRestoreFocus(m_hOrigin);
}

void AfxKeysChosen()
{
    if (State().depth > 0)
        State().chosen = true;
}

HWND AfxKeysOrigin()
{
    const CommandKeysState& state = State();
    return state.depth > 0 ? state.hOrigin : ::GetFocus();
}

UINT AfxGiveKeysBackMessage()
{
    static const UINT message = ::RegisterWindowMessageA("AfxGiveKeysBack");
    return message;
}

void AfxGiveKeysBackLater(HWND hWnd)
{
    if (hWnd != nullptr && ::IsWindow(hWnd))
        ::PostMessageA(hWnd, AfxGiveKeysBackMessage(), 0, 0);
}

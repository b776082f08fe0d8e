#include "board/win32/BoardAccessible.h"

#include "board/core/BoardAccess.h"
#include "board/core/BoardPicture.h"

#include <oleacc.h>

#include <utility>

namespace tessarline {

namespace {

// COM and oleacc, loaded when a client first asks for the board rather than linked: loading
// them costs the program's start a good part of its time, and most players never need them.
struct Com {
    decltype(&CoInitializeEx) coInitializeEx = nullptr;
    decltype(&CoUninitialize) coUninitialize = nullptr;
    decltype(&CoDisconnectObject) coDisconnectObject = nullptr;
    decltype(&SysAllocStringLen) sysAllocStringLen = nullptr;
    decltype(&SysFreeString) sysFreeString = nullptr;
    decltype(&LresultFromObject) lresultFromObject = nullptr;
    decltype(&AccessibleObjectFromWindow) accessibleObjectFromWindow = nullptr;
};

template <typename Function> void Find(HMODULE module, const char* name, Function& function) {
    const FARPROC found = module != nullptr ? GetProcAddress(module, name) : nullptr;
    // Through the generic function type, which converts to any other without a warning.
    function = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

// Null when the system lacks any of them.
const Com* LoadCom() {
    static const Com com = [] {
        Com c;
        const HMODULE ole32 = LoadLibraryW(L"ole32.dll");
        const HMODULE oleaut32 = LoadLibraryW(L"oleaut32.dll");
        const HMODULE oleacc = LoadLibraryW(L"oleacc.dll");
        Find(ole32, "CoInitializeEx", c.coInitializeEx);
        Find(ole32, "CoUninitialize", c.coUninitialize);
        Find(ole32, "CoDisconnectObject", c.coDisconnectObject);
        Find(oleaut32, "SysAllocStringLen", c.sysAllocStringLen);
        Find(oleaut32, "SysFreeString", c.sysFreeString);
        Find(oleacc, "LresultFromObject", c.lresultFromObject);
        Find(oleacc, "AccessibleObjectFromWindow", c.accessibleObjectFromWindow);
        return c;
    }();
    const bool complete = com.coInitializeEx != nullptr && com.coUninitialize != nullptr &&
                          com.coDisconnectObject != nullptr && com.sysAllocStringLen != nullptr &&
                          com.sysFreeString != nullptr && com.lresultFromObject != nullptr &&
                          com.accessibleObjectFromWindow != nullptr;
    return complete ? &com : nullptr;
}

// UI Automation's side, loaded likewise once a client has asked. The host provider stands for
// the window itself, which is all a notification needs: its window handle leads the client to
// the board.
struct Uia {
    // Declared here: mingw-w64's uiautomationcoreapi.h does not compile as C++.
    HRESULT(WINAPI* hostProviderFromHwnd)(HWND, IRawElementProviderSimple**) = nullptr;
    RaiseNotification raiseNotification = nullptr;
};

const Uia& LoadUia() {
    static const Uia uia = [] {
        Uia u;
        const HMODULE core = LoadLibraryW(L"uiautomationcore.dll");
        Find(core, "UiaHostProviderFromHwnd", u.hostProviderFromHwnd);
        Find(core, "UiaRaiseNotificationEvent", u.raiseNotification);
        return u;
    }();
    return uia;
}

RaiseNotification g_raiseInstead = nullptr;

// What UI Automation asks WM_GETOBJECT for: the window's own provider.
constexpr LONG kUiaRootObjectId = -25;

constexpr LONG kNoChild = -1;
constexpr wchar_t kPress[] = L"Press";

// The element a child id names: CHILDID_SELF for the board, 1 to 4 for a box, else kNoChild.
LONG ChildOf(const VARIANT& child) {
    if (child.vt != VT_I4 || child.lVal < CHILDID_SELF || child.lVal > kNodeCount) {
        return kNoChild;
    }
    return child.lVal;
}

HRESULT Text(const std::wstring& text, BSTR* out) {
    *out = LoadCom()->sysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

void SetChild(VARIANT* out, LONG child) {
    out->vt = VT_I4;
    out->lVal = child;
}

// Clears out and answers that there is nothing there.
HRESULT Nothing(VARIANT* out) {
    out->vt = VT_EMPTY;
    return S_FALSE;
}

} // namespace

// COM interfaces have no virtual destructor: the object deletes itself in Release, never
// through an interface pointer.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

// The object handed to clients. It reads everything from the board at each call; once the
// window is gone it answers that it is disconnected.
class BoardAccessible final : public IAccessible {
public:
    BoardAccessible(HWND window, BoardAccessibility& owner) : window_(window), owner_(&owner) {}

    void Disconnect() { owner_ = nullptr; }

    // IUnknown. The interfaces' ids come from their declarations: oleacc's import library
    // also has a symbol IID_IAccessible, a code thunk rather than the id.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) {
            return E_POINTER;
        }
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) ||
            iid == __uuidof(IAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const long left = --references_;
        if (left == 0) {
            delete this;
        }
        return static_cast<ULONG>(left);
    }

    // IDispatch: clients call IAccessible's methods directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        *parent = nullptr;
        if (!Connected()) {
            return RPC_E_DISCONNECTED;
        }
        return LoadCom()->accessibleObjectFromWindow(window_, static_cast<DWORD>(OBJID_WINDOW),
                                                     __uuidof(IDispatch),
                                                     reinterpret_cast<void**>(parent));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        *count = kNodeCount;
        return Connected() ? S_OK : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        *out = nullptr;
        // The boxes are simple elements of this object, not objects of their own.
        return Check(child, true);
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* out) override {
        *out = nullptr;
        const HRESULT valid = Check(child);
        if (valid != S_OK) {
            return valid;
        }
        const LONG n = ChildOf(child);
        return Text(n == CHILDID_SELF ? std::wstring(kBoardAccessName)
                                      : BoxName(static_cast<NodeIndex>(n)),
                    out);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* out) override {
        *out = nullptr;
        const HRESULT valid = Check(child);
        return valid != S_OK ? valid : DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* out) override {
        *out = nullptr;
        const HRESULT valid = Check(child);
        if (valid != S_OK) {
            return valid;
        }
        const LONG n = ChildOf(child);
        return Text(n == CHILDID_SELF ? BoardDescription(owner_->form)
                                      : BoxDescription(owner_->form, static_cast<NodeIndex>(n)),
                    out);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* out) override {
        out->vt = VT_EMPTY;
        const HRESULT valid = Check(child);
        if (valid == S_OK) {
            SetChild(out,
                     ChildOf(child) == CHILDID_SELF ? ROLE_SYSTEM_PANE : ROLE_SYSTEM_PUSHBUTTON);
        }
        return valid;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* out) override {
        out->vt = VT_EMPTY;
        const HRESULT valid = Check(child);
        if (valid != S_OK) {
            return valid;
        }
        LONG state = STATE_SYSTEM_FOCUSABLE;
        if (!IsWindowVisible(window_)) {
            state |= STATE_SYSTEM_INVISIBLE;
        }
        if (ChildOf(child) != CHILDID_SELF && ChildOf(child) == FocusedChild()) {
            state |= STATE_SYSTEM_FOCUSED;
        }
        SetChild(out, state);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* out) override {
        return get_accValue(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, LONG* topic) override {
        *file = nullptr;
        *topic = 0;
        return DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* out) override {
        return get_accValue(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) override {
        if (!Connected()) {
            out->vt = VT_EMPTY;
            return RPC_E_DISCONNECTED;
        }
        const LONG focused = FocusedChild();
        if (focused == kNoChild) {
            return Nothing(out);
        }
        SetChild(out, focused);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) override {
        out->vt = VT_EMPTY;
        return Connected() ? DISP_E_MEMBERNOTFOUND : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* out) override {
        *out = nullptr;
        const HRESULT valid = Check(child, true);
        return valid != S_FALSE ? valid : Text(kPress, out);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG, VARIANT child) override {
        const HRESULT valid = Check(child);
        return valid != S_OK ? valid : DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override {
        *left = *top = *width = *height = 0;
        const HRESULT valid = Check(child);
        if (valid != S_OK) {
            return valid;
        }
        RECT r{};
        if (ChildOf(child) == CHILDID_SELF) {
            GetClientRect(window_, &r);
        } else {
            const PixelRect box = BoxRect(ChildOf(child), owner_->transform());
            r = {box.x, box.y, box.x + box.width, box.y + box.height};
        }
        MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&r), 2);
        *left = r.left;
        *top = r.top;
        *width = r.right - r.left;
        *height = r.bottom - r.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* out) override {
        out->vt = VT_EMPTY;
        const HRESULT valid = Check(start);
        if (valid != S_OK) {
            return valid;
        }
        const LONG from = ChildOf(start);
        LONG to = kNoChild;
        if (from == CHILDID_SELF) {
            // The board's own siblings are its window's business.
            to = direction == NAVDIR_FIRSTCHILD  ? 1
                 : direction == NAVDIR_LASTCHILD ? kNodeCount
                                                 : kNoChild;
        } else if (direction == NAVDIR_NEXT || direction == NAVDIR_PREVIOUS) {
            to = from + (direction == NAVDIR_NEXT ? 1 : -1);
        } else if (direction >= NAVDIR_UP && direction <= NAVDIR_RIGHT) {
            // Along the figure, as the arrow keys move the focus.
            constexpr BoardKey kKeys[] = {BoardKey::Up, BoardKey::Down, BoardKey::Left,
                                          BoardKey::Right};
            to = FocusStep(static_cast<NodeIndex>(from), kKeys[direction - NAVDIR_UP]);
        }
        if (to < 1 || to > kNodeCount || to == from) {
            return Nothing(out);
        }
        SetChild(out, to);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* out) override {
        out->vt = VT_EMPTY;
        if (!Connected()) {
            return RPC_E_DISCONNECTED;
        }
        POINT p{x, y};
        ScreenToClient(window_, &p);
        RECT client{};
        GetClientRect(window_, &client);
        if (!PtInRect(&client, p)) {
            return Nothing(out);
        }
        SetChild(out, NodeAtPixel(p.x, p.y, owner_->transform()));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        const HRESULT valid = Check(child, true);
        if (valid != S_FALSE) {
            return valid;
        }
        // Exactly a click on the box.
        owner_->form.lblNode_Click(static_cast<NodeIndex>(ChildOf(child)));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    bool Connected() const { return owner_ != nullptr && IsWindow(window_); }

    // S_OK for a valid child id; with boxesOnly, S_FALSE for a box and DISP_E_MEMBERNOTFOUND
    // for the board itself, which has no action and no object of its own.
    HRESULT Check(const VARIANT& child, bool boxesOnly = false) const {
        if (!Connected()) {
            return RPC_E_DISCONNECTED;
        }
        const LONG n = ChildOf(child);
        if (n == kNoChild) {
            return E_INVALIDARG;
        }
        if (!boxesOnly) {
            return S_OK;
        }
        return n == CHILDID_SELF ? DISP_E_MEMBERNOTFOUND : S_FALSE;
    }

    // The box with the keyboard focus while the window has it.
    LONG FocusedChild() const { return GetFocus() == window_ ? owner_->input.Focus() : kNoChild; }

    HWND window_;
    BoardAccessibility* owner_;
    long references_ = 1;
};

#pragma GCC diagnostic pop

void SetRaiseNotification(RaiseNotification raise) {
    g_raiseInstead = raise;
}

BoardAccessibility::BoardAccessibility(Form1& f, BoardInput& i, std::function<TwipTransform()> t)
    : form(f), input(i), transform(std::move(t)) {}

BoardAccessibility::~BoardAccessibility() {
    Disconnect();
}

void BoardAccessibility::Disconnect() {
    if (object_ != nullptr) {
        object_->Disconnect();
        // Clients still holding the object get an error from now on rather than a call.
        LoadCom()->coDisconnectObject(object_, 0);
        object_->Release();
        object_ = nullptr;
    }
    if (comStarted_) {
        LoadCom()->coUninitialize();
        comStarted_ = false;
    }
}

std::optional<LRESULT> BoardAccessibility::OnMessage(HWND window, UINT message, WPARAM wParam,
                                                     LPARAM lParam) {
    switch (message) {
    case WM_GETOBJECT: {
        // UI Automation asks for its own provider first; the system's answer serves it, from the
        // object below.
        const auto object = static_cast<LONG>(static_cast<DWORD>(lParam));
        if ((object != OBJID_CLIENT && object != kUiaRootObjectId) || LoadCom() == nullptr) {
            return std::nullopt;
        }
        if (!asked_) {
            // Handing the object out marshals it, and the notifications' provider is a COM
            // object too: both need COM on this thread.
            const HRESULT started = LoadCom()->coInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
            comStarted_ = SUCCEEDED(started);
            asked_ = true;
        }
        if (object != OBJID_CLIENT) {
            return std::nullopt;
        }
        if (object_ == nullptr) {
            object_ = new BoardAccessible(window, *this);
        }
        return LoadCom()->lresultFromObject(__uuidof(IAccessible), wParam, object_);
    }
    case WM_SETFOCUS:
        if (input.Focus() != 0) {
            NotifyWinEvent(EVENT_OBJECT_FOCUS, window, OBJID_CLIENT, input.Focus());
        }
        return std::nullopt;
    case WM_DESTROY:
        Disconnect();
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

void BoardAccessibility::Changed(HWND window, const BoardNews& news) {
    if (news.boardDescription) {
        NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, window, OBJID_CLIENT, CHILDID_SELF);
    }
    for (int n = 1; n <= kNodeCount; ++n) {
        if (news.boxDescription[static_cast<std::size_t>(n - 1)]) {
            NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, window, OBJID_CLIENT, n);
        }
    }
    if (news.focusMoved && GetFocus() == window) {
        NotifyWinEvent(EVENT_OBJECT_FOCUS, window, OBJID_CLIENT, input.Focus());
    }
    if (!news.announcement.empty() && asked_) {
        Announce(window, news.announcement);
    }
}

void BoardAccessibility::Announce(HWND window, const std::wstring& text) const {
    const Uia& uia = LoadUia();
    const RaiseNotification raise =
        g_raiseInstead != nullptr ? g_raiseInstead : uia.raiseNotification;
    IRawElementProviderSimple* provider = nullptr;
    if (raise == nullptr || LoadCom() == nullptr || uia.hostProviderFromHwnd == nullptr ||
        FAILED(uia.hostProviderFromHwnd(window, &provider)) || provider == nullptr) {
        return;
    }
    const std::wstring activity(kAnnouncementActivity);
    const BSTR said = LoadCom()->sysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    const BSTR id =
        LoadCom()->sysAllocStringLen(activity.data(), static_cast<UINT>(activity.size()));
    if (said != nullptr && id != nullptr) {
        raise(provider, kNotificationKindActionCompleted,
              kNotificationProcessingImportantMostRecent, said, id);
    }
    LoadCom()->sysFreeString(said);
    LoadCom()->sysFreeString(id);
    provider->Release();
}

void BoardAccessibility::Refused(HWND window) {
    NotifyWinEvent(EVENT_SYSTEM_ALERT, window, OBJID_CLIENT, form.LastClicked());
}

} // namespace tessarline

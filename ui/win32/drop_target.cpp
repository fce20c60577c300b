#include "ui/win32/drop_target.h"

#include <shellapi.h>

#include "engine/text/wide_text.h"

namespace tallix {

DropTarget* DropTarget::Accepting(DropHandler onDrop) {
    return new DropTarget(std::move(onDrop));
}

DropTarget* DropTarget::Refusing() {
    return new DropTarget(nullptr);
}

HRESULT STDMETHODCALLTYPE DropTarget::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE DropTarget::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

ULONG STDMETHODCALLTYPE DropTarget::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) {
        delete this;
    }
    return static_cast<ULONG>(left);
}

DWORD DropTarget::Effect(DWORD offered) const {
    if (!onDrop_) {
        return DROPEFFECT_NONE;
    }
    if (offered & DROPEFFECT_COPY) {
        return DROPEFFECT_COPY;
    }
    if (offered & DROPEFFECT_LINK) {
        return DROPEFFECT_LINK;
    }
    return DROPEFFECT_NONE;
}

HRESULT STDMETHODCALLTYPE DropTarget::DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) {
    if (effect == nullptr) {
        return E_INVALIDARG;
    }
    *effect = Effect(*effect);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DropTarget::DragOver(DWORD, POINTL, DWORD* effect) {
    if (effect == nullptr) {
        return E_INVALIDARG;
    }
    *effect = Effect(*effect);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DropTarget::DragLeave() {
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DropTarget::Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) {
    if (effect == nullptr) {
        return E_INVALIDARG;
    }
    *effect = Effect(*effect);
    if (*effect != DROPEFFECT_NONE) {
        onDrop_(DroppedFiles(data));
    }
    return S_OK;
}

std::vector<std::string> DroppedFiles(IDataObject* data) {
    std::vector<std::string> files;
    if (data == nullptr) {
        return files;
    }
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    if (FAILED(data->GetData(&format, &medium))) {
        return files;
    }
    if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal != nullptr) {
        // The medium's memory handle is the HDROP; DragQueryFileW locks it itself.
        const auto drop = static_cast<HDROP>(medium.hGlobal);
        const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i) {
            std::wstring name(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
            name.resize(DragQueryFileW(drop, i, name.data(), static_cast<UINT>(name.size())));
            files.push_back(WideToUtf8(name));
        }
    }
    ReleaseStgMedium(&medium);
    return files;
}

}  // namespace tallix

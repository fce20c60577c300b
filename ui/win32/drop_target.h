#pragma once

#include <ole2.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace tallix {

// An OLE drop target for the window and its controls. An accepting target takes any drag as
// a copy (a link when the source offers only that) and hands the dropped file names, in the
// order of the list, to onDrop; a drag with no files is taken too and gives an empty list.
// It never reports a move, which would let the file manager delete the project. A refusing
// target answers every drag with DROPEFFECT_NONE.
class DropTarget final : public IDropTarget {
public:
    using DropHandler = std::function<void(std::vector<std::string> files)>;

    // Made with a reference count of one, owned by the caller.
    static DropTarget* Accepting(DropHandler onDrop);
    static DropTarget* Refusing();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point,
                                        DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point,
                                   DWORD* effect) override;

private:
    explicit DropTarget(DropHandler onDrop) : onDrop_(std::move(onDrop)) {}
    ~DropTarget() = default;
    DWORD Effect(DWORD offered) const;

    LONG references_ = 1;
    DropHandler onDrop_;  // empty for a refusing target
};

// The file names of a CF_HDROP in the data, UTF-8, in their order; none when the data holds
// no file list.
std::vector<std::string> DroppedFiles(IDataObject* data);

}  // namespace tallix

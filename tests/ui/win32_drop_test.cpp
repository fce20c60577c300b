// Drops on the native window, through the OLE drop targets it registers: which controls
// take a drop, the effect reported to the file manager, and what a drop opens.
#include <shlobj.h>

#include "win32_fixture.h"

namespace tallix::testing {
namespace {

// A drag's data as a file manager offers it: a CF_HDROP file list, or (with no files) only
// some other format.
class FileListData final : public IDataObject {
public:
    explicit FileListData(std::vector<std::string> files) : files_(std::move(files)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
            *object = static_cast<IDataObject*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // Lives on the test's stack.
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (QueryGetData(format) != S_OK) {
            return DV_E_FORMATETC;
        }
        std::wstring names;
        for (const std::string& file : files_) {
            names += Utf8ToWide(file) + L'\0';
        }
        names += L'\0';
        const SIZE_T bytes = sizeof(DROPFILES) + names.size() * sizeof(wchar_t);
        const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
        auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
        drop->pFiles = sizeof(DROPFILES);
        drop->fWide = TRUE;
        memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(),
               names.size() * sizeof(wchar_t));
        GlobalUnlock(memory);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = memory;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        return !files_.empty() && format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL)
                   ? S_OK
                   : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }

private:
    std::vector<std::string> files_;
};

class Win32DropTest : public Win32Form1Test {
protected:
    // Drags the data over the control (or the window, for "") and drops it, as OLE does;
    // returns the effects given back at enter, over and drop.
    std::vector<DWORD> DragAndDrop(const char* target, IDataObject& data, DWORD offered) {
        IDropTarget* drop = Window().DropTargetOf(target);
        EXPECT_NE(drop, nullptr) << target;
        if (drop == nullptr) {
            return {};
        }
        std::vector<DWORD> effects;
        DWORD effect = offered;
        drop->DragEnter(&data, MK_LBUTTON, {10, 10}, &effect);
        effects.push_back(effect);
        effect = offered;
        drop->DragOver(MK_LBUTTON, {12, 12}, &effect);
        effects.push_back(effect);
        effect = offered;
        drop->Drop(&data, 0, {12, 12}, &effect);
        effects.push_back(effect);
        Pump();
        return effects;
    }
};

TEST_F(Win32DropTest, EveryControlButTheTotalAndTheRuleTakesACopy) {
    dir_.Write("p.vbp", "");
    FileListData data({dir_.Str("p.vbp")});
    const DWORD any = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    std::vector<std::string> targets{""};
    for (const ControlLayout& control : Form1ControlTable()) {
        targets.push_back(control.name);
    }
    for (const std::string& target : targets) {
        SCOPED_TRACE(target.empty() ? "the window" : target);
        // OLE finds a window's target through the property RegisterDragDrop sets.
        const HWND window = target.empty() ? Window().Handle() : Control(target.c_str());
        EXPECT_NE(GetPropW(window, L"OleDropTargetInterface"), nullptr);
        const bool refuses = target == "LblTotalLine" || target == "Line1";
        const DWORD expected = refuses ? DROPEFFECT_NONE : DROPEFFECT_COPY;
        EXPECT_EQ(DragAndDrop(target.c_str(), data, any),
                  (std::vector<DWORD>{expected, expected, expected}));
    }
    EXPECT_TRUE(dialogs_.openCalls.empty());
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(Win32DropTest, AMoveIsNeverReported) {
    FileListData data({dir_.Str("p.vbp")});
    struct Case {
        DWORD offered, effect;
    };
    const Case cases[] = {{DROPEFFECT_MOVE, DROPEFFECT_NONE},
                          {DROPEFFECT_NONE, DROPEFFECT_NONE},
                          {DROPEFFECT_MOVE | DROPEFFECT_LINK, DROPEFFECT_LINK},
                          {DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_COPY}};
    for (const Case& c : cases) {
        SetText("txtFileName", "");
        EXPECT_EQ(DragAndDrop("txtFileName", data, c.offered),
                  (std::vector<DWORD>{c.effect, c.effect, c.effect}))
            << "offered " << c.offered;
        EXPECT_EQ(Text("txtFileName"), c.effect == DROPEFFECT_NONE ? "" : dir_.Str("p.vbp"))
            << "a refused drop opens nothing";
    }
}

TEST_F(Win32DropTest, TheLastOfSeveralFilesIsOpenedWithoutADialog) {
    dir_.Write("a.vbp", "Module=A; a.bas\r\n");
    dir_.Write("c.vbp", "Module=C; c.bas\r\n");
    dir_.Write("c.bas", "Attribute VB_Name = \"C\"\r\nx\r\n");
    FileListData data({dir_.Str("a.vbp"), dir_.Str("b.txt"), dir_.Str("c.vbp")});
    DragAndDrop("Frame1", data, DROPEFFECT_COPY);
    EXPECT_EQ(Text("txtFileName"), dir_.Str("c.vbp"));
    EXPECT_TRUE(dialogs_.openCalls.empty());
    EXPECT_EQ(Stored("Init_Dir"), dir_.Str("c.vbp"));
    Click("Command8");
    EXPECT_EQ(Text("lblFoundline"), "c.bas:1");
}

TEST_F(Win32DropTest, ADropWithoutFilesAsksInTheOpenDialog) {
    FileListData data({});
    SetText("txtFileName", "typed.vbp");
    DragAndDrop("lblFoundline", data, DROPEFFECT_COPY);
    EXPECT_EQ(dialogs_.openCalls.size(), 1u);
    EXPECT_EQ(Text("txtFileName"), "typed.vbp") << "the cancelled dialog leaves the path";
    EXPECT_EQ(Stored("Init_Dir"), std::nullopt);
}

}  // namespace
}  // namespace tallix::testing

// The window description: every control with its place, caption, tab order,
// enable class (Tag) and move delta (HelpContext), and the events wired to
// the handlers.
#include "Main.h"

#include "../resources/MainResourceIds.h"
#include "EnableRule.h"
#include "RunMessages.h"

namespace quorvel {

namespace {

constexpr gui::TAnchors kTopLeft = gui::akLeft | gui::akTop;
constexpr gui::TAnchors kTopRight = gui::akTop | gui::akRight;

gui::TFormParams WindowParams() {
    gui::TFormParams params;
    params.Caption = "クオーヴェル";
    params.Left = 265;
    params.Top = 166;
    params.ClientWidth = 413;
    params.ClientHeight = 234;
    params.Border = gui::TFormBorder::Dialog;
    return params;
}

gui::TFont WindowFont() {
    gui::TFont font;
    font.Name = "ＭＳ Ｐゴシック";
    font.Height = 12;
    font.Charset = SHIFTJIS_CHARSET;
    font.Color = gui::clWindowText;
    return font;
}

gui::TListBoxStyle FileListStyle() {
    gui::TListBoxStyle style;
    style.MultiSelect = true;
    style.ExtendedSelect = true;
    style.OwnerDrawFixed = true;
    style.ItemHeight = 12;
    return style;
}

// Anchors, tab order (-1: none), enable class and move delta of one control.
void Describe(gui::TControl& control, gui::TAnchors anchors, int tabOrder, int tag, int helpContext = 0) {
    control.Anchors = anchors;
    if (tabOrder >= 0) control.SetTabOrder(tabOrder);
    control.Tag = tag;
    control.HelpContext = helpContext;
}

}  // namespace

TQuorvel::TQuorvel()
    : gui::TForm(WindowParams()),
      Label1(Make<gui::TLabel>(gui::TRect{4, 4, 160, 12}, "同期する変数のあるファイル(&N)")),
      Label2(Make<gui::TLabel>(gui::TRect{4, 72, 84, 12}, "ファイルリスト(&F)")),
      Bevel1(Make<gui::TBevel>(gui::TRect{336, 168, 64, 2})),
      Bevel2(Make<gui::TBevel>(gui::TRect{324, 8, 2, 218})),
      Label3(Make<gui::TLabel>(gui::TRect{4, 52, 52, 12}, "変数名(&V)")),
      MainFile(Make<gui::TFilePathEdit>(gui::TRect{32, 20, 286, 21})),
      FileList(Make<gui::TListBox>(gui::TRect{32, 88, 286, 138}, FileListStyle())),
      AddFiles(Make<gui::TButton>(gui::TRect{332, 72, 77, 25}, "追加(&A)")),
      RemoveFiles(Make<gui::TButton>(gui::TRect{332, 104, 77, 25}, "削除(&R)")),
      UpBtn(Make<gui::TButton>(gui::TRect{340, 136, 25, 25}, "▲")),
      DownBtn(Make<gui::TButton>(gui::TRect{376, 136, 25, 25}, "▼")),
      SetSyncFile(Make<gui::TButton>(gui::TRect{332, 176, 77, 25}, "同期ﾌｧｲﾙ(&S)")),
      Execute(Make<gui::TButton>(gui::TRect{332, 208, 77, 25}, "実行(&E)")),
      SaveList(Make<gui::TButton>(gui::TRect{332, 4, 77, 25}, "ﾘｽﾄ保存(&S)")),
      LoadList(Make<gui::TButton>(gui::TRect{332, 36, 77, 25}, "ﾘｽﾄ読込(&L)")),
      VariableName(Make<gui::TEdit>(gui::TRect{68, 48, 169, 20})),
      run_(Handle(), kRunProgressMessage, kRunDoneMessage) {
    SetColor(gui::clBtnFace);
    SetFont(WindowFont());

    Describe(Label1, kTopLeft, -1, kTagLeftAlone);
    Describe(Label2, kTopLeft, -1, kTagLeftAlone);
    Describe(Bevel1, kTopRight, -1, kTagLeftAlone);
    Describe(Bevel2, gui::akTop | gui::akRight | gui::akBottom, -1, kTagLeftAlone);
    Describe(Label3, kTopLeft, -1, kTagLeftAlone);
    Label3.FocusControl = &VariableName;
    Describe(MainFile, gui::akLeft | gui::akTop | gui::akRight, 0, kTagLeftAlone);
    MainFile.SetReferType(gui::rtShowOpen);
    Describe(FileList, gui::akLeft | gui::akTop | gui::akRight | gui::akBottom, 2, kTagLeftAlone);
    Describe(AddFiles, kTopRight, 5, kTagLeftAlone);
    Describe(RemoveFiles, kTopRight, 6, kTagNeedsOneFile);
    Describe(UpBtn, kTopRight, 7, kTagNeedsTwoFiles, -1);
    Describe(DownBtn, kTopRight, 8, kTagNeedsTwoFiles, 1);
    Describe(SetSyncFile, kTopRight, 9, kTagNeedsOneFile);
    Describe(Execute, kTopRight, 10, kTagNeedsTwoFilesAndName);
    Describe(SaveList, kTopRight, 3, kTagNeedsOneFile);
    Describe(LoadList, kTopRight, 4, kTagLeftAlone);
    Describe(VariableName, kTopLeft, 1, kTagLeftAlone);

    // Until the first run of the enable rule only adding and loading make sense.
    for (gui::TButton* button : {&RemoveFiles, &UpBtn, &DownBtn, &SetSyncFile, &Execute, &SaveList}) {
        button->SetEnabled(false);
    }
    Tag = 0;

    FileList.SetItemsObserver(&newest_);
    FileList.SetAcceptFiles(true);
    ConnectEvents();
    SetProgramIcon();
}

TQuorvel::~TQuorvel() { FileList.SetItemsObserver(nullptr); }

void TQuorvel::ConnectEvents() {
    FileList.OnClick = [this](gui::TControl& sender) { FileListClick(sender); };
    FileList.OnDrawItem = [this](gui::TListBox& control, int index, RECT rect, UINT state,
                                 gui::TListItemCanvas& canvas) { FileListDrawItem(control, index, rect, state, canvas); };
    AddFiles.OnClick = [this](gui::TControl& sender) { AddFilesClick(sender); };
    RemoveFiles.OnClick = [this](gui::TControl& sender) { RemoveFilesClick(sender); };
    UpBtn.OnClick = [this](gui::TControl& sender) { UpDownBtnClick(sender); };
    DownBtn.OnClick = [this](gui::TControl& sender) { UpDownBtnClick(sender); };
    SetSyncFile.OnClick = [this](gui::TControl& sender) { SetSyncFileClick(sender); };
    Execute.OnClick = [this](gui::TControl& sender) { ExecuteClick(sender); };
    SaveList.OnClick = [this](gui::TControl& sender) { SaveListClick(sender); };
    LoadList.OnClick = [this](gui::TControl& sender) { LoadListClick(sender); };
    VariableName.OnChange = [this](gui::TControl& sender) { FileListClick(sender); };
    VariableName.OnClick = [this](gui::TControl& sender) { FileListClick(sender); };
    FileList.OnDropFiles = [this](gui::TControl& sender, const std::vector<std::string>& files) {
        FileListDropFiles(sender, files);
    };
}

// The caption shows the program's icon when the program carries one.
void TQuorvel::SetProgramIcon() {
    HINSTANCE module = GetModuleHandleA(nullptr);
    const auto load = [module](int metricX, int metricY) {
        return static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(IDI_QUORVEL), IMAGE_ICON,
                                             GetSystemMetrics(metricX), GetSystemMetrics(metricY), LR_SHARED));
    };
    if (HICON bigIcon = load(SM_CXICON, SM_CYICON)) Perform(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
    if (HICON smallIcon = load(SM_CXSMICON, SM_CYSMICON)) Perform(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
}

}  // namespace quorvel

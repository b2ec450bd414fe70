// Renders the path edit in its looks and the dialogs to BMP files in the
// folder named on the command line (default: the current folder).
#include "DialogDriver.h"
#include "FilePathEdit.h"
#include "StdCtrls.h"
#include "TestHost.h"
#include "WindowCapture.h"
#include "stdDialogs.h"

#include <cstdio>

using namespace gui;

namespace {

std::string outputFolder = ".";

std::string OutputPath(const char* name) { return outputFolder + "\\" + name + ".bmp"; }

// Captures the dialog the UI thread shows next, then answers it.
guitest::DialogDriver::Action CaptureThen(const char* name, guitest::DialogDriver::Action answer) {
    return [name, answer](HWND dialog) {
        guitest::CaptureWindowToBmp(dialog, OutputPath(name));
        answer(dialog);
    };
}

void EditLooks(const guitest::TempFolder& folder) {
    TForm form({"TFilePathEdit", 60, 60, 460, 250});
    TFont font;
    font.Name = "ＭＳ Ｐゴシック";
    font.Charset = SHIFTJIS_CHARSET;
    font.Height = 12;
    form.SetFont(font);
    const std::string existing = folder.MakeFile("existing.txt");
    struct Look {
        const char* label;
        std::string text;
        TReferType mode;
    };
    const Look looks[] = {
        {"フォーカスあり", existing, rtShowOpen},
        {"フォーカスなし", existing, rtShowDirectory},
        {"存在しないパス (FaultColor)", "C:\\存在しない\\ファイル.txt", rtSelectDirectory},
        {"無効 (Enabled = false)", existing, rtShowOpen},
        {"長いパス (省略表示)", "C:\\Program Files\\とても長いフォルダ名のフォルダ\\さらに深いフォルダ\\最後のファイル名.txt", rtDropDown},
        {"アンパサンド", "C:\\Tom&Jerry\\a.txt", rtDot},
    };
    std::vector<TFilePathEdit*> edits;
    int top = 8;
    for (const Look& look : looks) {
        form.Make<TLabel>(TRect{8, top + 4, 170, 14}, look.label);
        auto& edit = form.Make<TFilePathEdit>(TRect{180, top, 268, 21});
        edit.SetReferType(look.mode);
        edit.SetText(look.text);
        edit.SetFaultColor(0x00C0C0FF);  // light red
        edits.push_back(&edit);
        top += 30;
    }
    edits[3]->SetEnabled(false);
    form.Show();
    edits[0]->SetFocus();
    edits[0]->Perform(EM_SETSEL, 0, 0);
    guitest::Pump();
    form.Repaint();
    for (auto* edit : edits) edit->Repaint();
    guitest::Pump();
    guitest::CaptureWindowToBmp(form.Handle(), OutputPath("controls_path_edit_looks"));
}

void MessageBoxes() {
    {
        guitest::DialogDriver driver(CaptureThen("controls_showmsg_information", guitest::DialogDriver::Press(IDOK)));
        ShowMsg("変数は同期されました。", TMsgDlgType::mtInformation, 0);
    }
    {
        guitest::DialogDriver driver(CaptureThen("controls_showmsg_warning", guitest::DialogDriver::Press(IDOK)));
        ShowMsg("警告の例です。", TMsgDlgType::mtWarning, 0);
    }
    {
        guitest::DialogDriver driver(CaptureThen("controls_askyesno_confirmation", guitest::DialogDriver::Press(IDNO)));
        AskYesNo("ファイルが設定されていません\rリスト内で最新のファイルを設定しますか？", TMsgDlgType::mtConfirmation, 0);
    }
}

void BrowseDialogs(const guitest::TempFolder& folder) {
    TForm form({"browse", 60, 60, 320, 60});
    auto& edit = form.Make<TFilePathEdit>(TRect{8, 8, 300, 21});
    edit.SetText(folder.MakeFile("existing.txt"));
    form.Show();
    guitest::Pump();
    edit.SetReferType(rtShowOpen);
    {
        guitest::DialogDriver driver(CaptureThen("controls_open_file_dialog", guitest::DialogDriver::Press(IDCANCEL)));
        edit.ClickButton();
    }
    edit.SetReferType(rtSelectDirectory);
    folder.MakeDir("サブフォルダ");
    {
        guitest::DialogDriver driver(
            CaptureThen("controls_directory_chooser", guitest::DialogDriver::PressButtonWithText("キャンセル")),
            "QuorvelForm", "ディレクトリの選択");
        edit.ClickButton();
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1) outputFolder = argv[1];
    CreateDirectoryA(outputFolder.c_str(), nullptr);
    Application().Initialize();
    Application().Title = "クオーヴェル";
    guitest::TempFolder folder;
    EditLooks(folder);
    MessageBoxes();
    BrowseDialogs(folder);
    std::printf("screenshots written to %s\n", outputFolder.c_str());
    return 0;
}

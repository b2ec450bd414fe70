#include "DirectoryChooser.h"

#include "Form.h"
#include "ListBox.h"
#include "PathRules.h"
#include "Platform.h"
#include "StdCtrls.h"
#include "stdDialogs.h"

#include <algorithm>

namespace gui {
namespace {

const char kCaption[] = "ディレクトリの選択";
const char kCreateQuestion[] = "指定されたディレクトリが存在しません。作成しますか？";

std::string WithBackslash(const std::string& path) {
    return ExcludeTrailingBackslash(path) + "\\";
}

bool IsAbsolute(const std::string& path) {
    return (path.size() >= 2 && path[1] == ':') || (!path.empty() && path[0] == '\\');
}

std::vector<std::string> ListEntries(const std::string& directory, bool wantDirectories) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((WithBackslash(directory) + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        bool isDirectory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        std::string name = found.cFileName;
        if (isDirectory == wantDirectories && name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

class TDriveCombo : public TControl {
public:
    TDriveCombo(TControl& parent, const TRect& bounds)
        : TControl(&parent, bounds, {"COMBOBOX", WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, 0}) {
        CreateHandle();
    }
    TNotifyEvent OnChange;

protected:
    bool CommandNotify(WORD code) override {
        if (code != CBN_SELCHANGE) return false;
        if (OnChange) OnChange(*this);
        return true;
    }
};

class DirectoryChooserForm : public TForm {
public:
    DirectoryChooserForm(HWND owner, const std::string& start)
        : TForm({kCaption, CW_USEDEFAULT, CW_USEDEFAULT, 420, 300, TFormBorder::Dialog, owner}) {
        auto& nameLabel = Make<TLabel>(TRect{8, 10, 110, 16}, "ディレクトリ名(&N):");
        name_ = &Make<TEdit>(TRect{120, 8, 292, 22});
        nameLabel.FocusControl = name_;
        Make<TLabel>(TRect{8, 40, 190, 16}, "ディレクトリ(&D):");
        tree_ = &Make<TListBox>(TRect{8, 58, 196, 190}, TListBoxStyle{false, false, false, 16});
        Make<TLabel>(TRect{216, 40, 196, 16}, "ファイル:");
        files_ = &Make<TListBox>(TRect{216, 58, 196, 190}, TListBoxStyle{false, false, false, 16});
        auto& driveLabel = Make<TLabel>(TRect{8, 262, 60, 16}, "ドライブ(&V):");
        drives_ = &Make<TDriveCombo>(TRect{70, 258, 134, 200});
        driveLabel.FocusControl = drives_;
        auto& ok = Make<TButton>(TRect{252, 258, 76, 26}, "OK");
        auto& cancel = Make<TButton>(TRect{336, 258, 76, 26}, "キャンセル");
        ok.Default = true;
        cancel.Cancel = true;
        cancel.ModalResult = mrCancel;
        name_->SetTabOrder(0);
        tree_->SetTabOrder(1);
        files_->SetTabOrder(2);
        drives_->SetTabOrder(3);
        ok.SetTabOrder(4);
        cancel.SetTabOrder(5);

        ok.OnClick = [this](TControl&) { Confirm(); };
        tree_->OnClick = [this](TControl&) { TreeSelected(); };
        tree_->OnDblClick = [this](TControl&) { Navigate(SelectedTreePath()); };
        drives_->OnChange = [this](TControl&) { DriveSelected(); };
        FillDrives();
        Navigate(start);
        CentreOverOwner(owner);
    }

    std::string Chosen() const { return chosen_; }

private:
    // Centred over the owner, but kept whole on the screen.
    void CentreOverOwner(HWND owner) {
        RECT screen;
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &screen, 0);
        RECT area = screen;
        if (owner) GetWindowRect(owner, &area);
        TRect self = Bounds();
        int left = area.left + (area.right - area.left - self.Width) / 2;
        int top = area.top + (area.bottom - area.top - self.Height) / 2;
        left = std::max<int>(screen.left, std::min<int>(left, screen.right - self.Width));
        top = std::max<int>(screen.top, std::min<int>(top, screen.bottom - self.Height));
        SetBounds({left, top, self.Width, self.Height});
    }

    void FillDrives() {
        char buffer[512] = {};
        DWORD length = GetLogicalDriveStringsA(sizeof(buffer) - 1, buffer);
        for (const char* drive = buffer; drive < buffer + length && *drive; drive += lstrlenA(drive) + 1)
            drives_->Perform(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(drive));
    }

    void SelectDriveOf(const std::string& path) {
        std::string root = path.size() >= 2 && path[1] == ':' ? path.substr(0, 2) + "\\" : std::string();
        LRESULT index = drives_->Perform(CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(root.c_str()));
        drives_->Perform(CB_SETCURSEL, static_cast<WPARAM>(index));
    }

    void DriveSelected() {
        LRESULT index = drives_->Perform(CB_GETCURSEL);
        if (index < 0) return;
        char root[MAX_PATH] = {};
        drives_->Perform(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(root));
        if (platform::DirectoryExists(root)) Navigate(root);
        else SelectDriveOf(current_);
    }

    // The tree shows the path from its root down to the directory, then the directory's subdirectories.
    void Navigate(const std::string& directory) {
        if (directory.empty() || !platform::DirectoryExists(directory)) return;
        current_ = ExcludeTrailingBackslash(directory);
        treePaths_.clear();
        tree_->Items().Clear();
        std::vector<std::string> chain;
        for (std::string path = current_;;) {
            chain.insert(chain.begin(), path);
            std::string parent = ExcludeTrailingBackslash(ExtractFileDir(path));
            if (parent.empty() || parent == path || parent.size() >= path.size()) break;
            path = parent;
        }
        int depth = 0;
        for (const std::string& path : chain) {
            std::string label = depth == 0 ? WithBackslash(path) : path.substr(WithBackslash(ExtractFileDir(path)).size());
            AddTreeEntry(std::string(static_cast<size_t>(depth) * 2, ' ') + label, path);
            ++depth;
        }
        int currentIndex = tree_->Items().Count() - 1;
        for (const std::string& sub : ListEntries(current_, true))
            AddTreeEntry(std::string(static_cast<size_t>(depth) * 2, ' ') + sub, WithBackslash(current_) + sub);
        tree_->SetItemIndex(currentIndex);
        name_->SetText(current_.size() == 2 ? current_ + "\\" : current_);  // a drive root shows its backslash
        ShowFiles(current_);
        SelectDriveOf(current_);
    }

    void AddTreeEntry(const std::string& label, const std::string& path) {
        tree_->Items().Add(label);
        treePaths_.push_back(path);
    }

    std::string SelectedTreePath() const {
        int index = tree_->ItemIndex();
        return index >= 0 && index < static_cast<int>(treePaths_.size()) ? treePaths_[static_cast<size_t>(index)] : current_;
    }

    void TreeSelected() {
        std::string path = SelectedTreePath();
        name_->SetText(path.size() == 2 ? path + "\\" : path);
        ShowFiles(path);
    }

    void ShowFiles(const std::string& directory) {
        files_->Items().Clear();
        for (const std::string& file : ListEntries(directory, false)) files_->Items().Add(file);
    }

    void Confirm() {
        std::string name = name_->Text();
        if (!name.empty() && !IsAbsolute(name)) name = WithBackslash(current_) + name;
        if (!platform::DirectoryExists(name) && !AskCreateDirectory()) return;
        chosen_ = name;
        ModalResult = mrOk;
    }

    TEdit* name_ = nullptr;
    TListBox* tree_ = nullptr;
    TListBox* files_ = nullptr;
    TDriveCombo* drives_ = nullptr;
    std::vector<std::string> treePaths_;
    std::string current_;
    std::string chosen_;
};

}  // namespace

bool AskCreateDirectory() { return AskYesNo(kCreateQuestion, TMsgDlgType::mtConfirmation); }

bool RunDirectoryChooser(const DirectoryChooserRequest& request, std::string& directory) {
    DirectoryChooserForm chooser(request.Owner, request.StartDir);
    if (chooser.ShowModal() != mrOk) return false;
    directory = chooser.Chosen();
    return true;
}

}  // namespace gui

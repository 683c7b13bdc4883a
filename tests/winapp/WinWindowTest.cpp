// The window on the Windows common controls, driven as the companion starts it
// (run mode 2 on the demo library) and checked through the controls themselves.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "demo/DemoLibrary.h"
#include "platform/win32/WideText.h"
#include "support/TempDir.h"
#include "winapp/WinSession.h"
#include "windowlogic/UserPrompts.h"
#include "windowlogic/WindowDesign.h"

using namespace versemark;
using namespace versemark::testing;
using versemark::winapp::WindowSession;

namespace {

// Answers the window's questions from a script and records every question.
class ScriptedPrompts final : public UserPrompts {
  public:
    std::deque<bool> Answers;
    std::vector<std::string> Asked;

    std::string ChooseFolder(const std::string& instruction) override {
        Asked.push_back(instruction);
        return std::string();
    }
    bool AskYesNo(const std::string& text, PromptIcon) override {
        Asked.push_back(text);
        if (Answers.empty()) {
            return false;
        }
        const bool answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    void ShowMessage(const std::string& text) override { Asked.push_back(text); }
};

std::string Text(HWND control) {
    const int length = GetWindowTextLengthW(control);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(control, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));
    return win32::Utf8(text);
}

class WinWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        demo_ = WriteDemoLibrary(dir_ / "demo");
        ASSERT_TRUE(demo_.Ok) << demo_.Error;
        values_.Config.RunMode = kRunScanFolder;
        values_.Config.CmdFolder = demo_.MusicFolder;
        values_.Config.CmdSubfolders = 1;
        values_.Cache.CachePath = demo_.LyricsFolder;
        values_.Cache.SingleDir = true;
        session_ = std::make_unique<WindowSession>(GetModuleHandleW(nullptr), values_, &prompts_);
        session_->Start(false, SW_SHOWNOACTIVATE);
    }

    HWND Control(versemark::Control control) { return session_->View().Handle(control); }

    TempDir dir_;
    DemoLibraryResult demo_;
    ProgramValues values_;
    ScriptedPrompts prompts_;
    std::unique_ptr<WindowSession> session_;
};

TEST_F(WinWindowTest, Dump) {
    std::printf("items %d\n", ListView_GetItemCount(Control({ControlName::list})));
    for (const auto& design : WindowDesign()) {
        HWND h = Control(design.Id);
        RECT r{};
        GetWindowRect(h, &r);
        std::printf("%d/%d vis=%d %ld,%ld-%ld,%ld '%s' parent=%p\n", (int)design.Id.Name,
                    design.Id.Element, IsWindowVisible(h), r.left, r.top, r.right, r.bottom,
                    Text(h).c_str(), (void*)GetParent(h));
    }
}

}  // namespace

#include "WindowTestSupport.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "matching/LyricsIndex.h"
#include "window/Controls.h"
#include "window/DisplayString.h"
#include "window/ResultListModel.h"

namespace versemark::testing {
namespace {

constexpr std::size_t kAudioBytes = 2000;

}  // namespace

std::string ScriptedPrompts::ChooseFolder(const std::string& instruction) {
    ++FolderDialogs;
    LastInstruction = DisplayString(instruction);
    if (Folders.empty()) {
        return std::string();
    }
    std::string folder = Folders.front();
    Folders.pop_front();
    return folder;
}

bool ScriptedPrompts::AskYesNo(const std::string& text, PromptIcon icon) {
    Asked.push_back({DisplayString(text), icon});
    if (Answers.empty()) {
        return false;
    }
    const bool answer = Answers.front();
    Answers.pop_front();
    return answer;
}

void ScriptedPrompts::ShowMessage(const std::string& text) {
    Messages.push_back(text);
}

WindowUnderTest::WindowUnderTest() {
    WindowServices services;
    services.Prompts = &Prompts;
    services.ProcessEvents = [this] {
        ++ProcessEventsCalls;
        if (OnProcessEvents) {
            OnProcessEvents(ProcessEventsCalls);
        }
        QCoreApplication::processEvents();
    };
    services.EndProgram = [this] { ++EndProgramCalls; };
    form_ = std::make_unique<frmMain>(Values, std::move(services));
}

WindowUnderTest::~WindowUnderTest() = default;

QLabel* WindowUnderTest::Label(const QString& name) const {
    return Find<QLabel>(name);
}

QPushButton* WindowUnderTest::Button(const QString& name) const {
    return Find<QPushButton>(name);
}

QString WindowUnderTest::Text(const QString& labelName) const {
    const QLabel* label = Label(labelName);
    return label != nullptr ? label->text() : QStringLiteral("<no such label>");
}

QString WindowUnderTest::Caption(const QString& buttonName) const {
    const QPushButton* button = Button(buttonName);
    return button != nullptr ? ButtonCaption(button) : QStringLiteral("<no such button>");
}

void WindowUnderTest::Show() {
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
}

void WindowUnderTest::ChooseFolderAndMatch(const std::string& folder) {
    Prompts.Folders.push_back(folder);
    Button(QStringLiteral("cmdBrowseForFolder"))->click();
}

int WindowUnderTest::RowOf(std::string_view mp3Name) const {
    const RowList& rows = form_->ListModel().Rows();
    for (std::size_t i = 0; i < rows.Count(); ++i) {
        if (rows.Row(i).Mp3Name == mp3Name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

const ResultRow& WindowUnderTest::RowNamed(std::string_view mp3Name) const {
    const int row = RowOf(mp3Name);
    if (row < 0) {
        qFatal("no row for %s", std::string(mp3Name).c_str());
    }
    return form_->ListModel().Rows().Row(static_cast<std::size_t>(row));
}

SongLibrary::SongLibrary() {
    dir_.MakeFolder("cache");
    dir_.MakeFolder("music");
}

std::string SongLibrary::AddLyrics(std::string_view name, std::string_view text) const {
    return dir_.WriteFile("cache/" + std::string(name) + ".txt", text);
}

std::string SongLibrary::AddMp3(std::string_view relative, const TailBuilder& file) const {
    return dir_.WriteFile("music/" + std::string(relative), file.bytes());
}

void SongLibrary::IndexInto(ProgramValues& values) const {
    values.Cache.CachePath = CachePath();
    values.Cache.SingleDir = true;
    BuildLyricsIndex(values.Cache.CachePath, values.Cache.SingleDir, values.Index);
}

std::string FilteredLyrics(std::string_view words) {
    return std::string(words) + "\r\nla la la\r\n\r\n[Profanity] filter used\r\n";
}

std::string UnfilteredLyrics(std::string_view words) {
    return std::string(words) + "\r\nla la la\r\nthe end of the song\r\n";
}

TailBuilder PlainMp3() {
    TailBuilder file;
    file.audio(kAudioBytes);
    return file;
}

int EntryNamed(const ProgramValues& values, std::string_view displayName) {
    const auto& entries = values.Index.Entries;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].DisplayName == displayName) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace versemark::testing

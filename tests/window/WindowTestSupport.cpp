// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowTestSupport.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "matching/LyricsIndex.h"
#include "support/SampleRows.h"
#include "window/Controls.h"
#include "window/DisplayString.h"
#include "window/ResultListModel.h"

namespace versemark::testing {
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
    services.EndProgram = [this](int exitStatus) {
        ++EndProgramCalls;
        EndProgramStatus = exitStatus;
    };
    form_ = std::make_unique<QtWindow>(Values, std::move(services));
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
    return RowOfMp3(form_->ListModel().Rows(), mp3Name);
}

const ResultRow& WindowUnderTest::RowNamed(std::string_view mp3Name) const {
    const int row = RowOf(mp3Name);
    if (row < 0) {
        qFatal("no row for %s", std::string(mp3Name).c_str());
    }
    return form_->ListModel().Rows().Row(static_cast<std::size_t>(row));
}

}  // namespace versemark::testing

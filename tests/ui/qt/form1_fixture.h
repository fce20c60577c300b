#pragma once

#include <gtest/gtest.h>

#include "qt_test_printing.h"

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <stdexcept>
#include <vector>

#include "fake_window.h"
#include "persistence/memory_settings_store.h"
#include "persistence/user_settings.h"
#include "ui/qt/form1.h"

namespace tallix::testing {

// Keeps the messages instead of showing boxes, with the Start button's state at that moment.
class RecordingBoxes : public MessageSink {
public:
    struct Message {
        QString text;
        bool startEnabled;
    };

    void ShowMessage(const std::string& text) override {
        const auto* start = window != nullptr
                                ? window->findChild<QAbstractButton*>(QStringLiteral("Command8"))
                                : nullptr;
        shown.push_back({QString::fromStdString(text), start != nullptr && start->isEnabled()});
    }
    void ShowInformation(const std::string& title, const std::string& text) override {
        information << QString::fromStdString(title + "|" + text);
    }

    QStringList Texts() const {
        QStringList texts;
        for (const Message& message : shown) {
            texts << message.text;
        }
        return texts;
    }

    QWidget* window = nullptr;
    std::vector<Message> shown;
    QStringList information;  // "title|text"
};

// The Qt window over settings in memory, with fake dialogs and recorded messages, and a
// fresh folder for its files. The window is built on first use, so a test can store
// settings for its start-up first.
class Form1Test : public ::testing::Test {
protected:
    Form1& Window() {
        if (!window_) {
            window_ = std::make_unique<Form1>(settings_, dialogs_, messages_, desktop_);
            messages_.window = window_.get();
            window_->show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
        }
        return *window_;
    }

    template <typename Control>
    Control* Find(const char* name) {
        auto* control = Window().findChild<Control*>(QString::fromLatin1(name));
        if (control == nullptr) {
            throw std::runtime_error(std::string("no control ") + name);
        }
        return control;
    }

    void Click(const char* button) {
        QTest::mouseClick(Find<QAbstractButton>(button), Qt::LeftButton);
    }
    void Choose(const char* menuItem) { Find<QAction>(menuItem)->trigger(); }
    bool Checked(const char* name) { return Find<QAction>(name)->isChecked(); }

    void Store(const char* key, const char* value) { store_.StoreSetting(key, value); }
    QString Stored(const char* key) const {
        return QString::fromStdString(store_.LoadSetting(key).value_or("<absent>"));
    }

    QString FilePath(const QString& name) const { return folder_.filePath(name); }

    // Writes a file of the test's folder, byte for byte.
    void Write(const char* name, const QByteArray& bytes) {
        QFile file(FilePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QString Native(const char* name) const {
        return QDir::toNativeSeparators(FilePath(QString::fromLatin1(name)));
    }

    QTemporaryDir folder_;
    MemorySettingsStore store_;
    // The program's own folder: where the help file is looked for.
    UserSettings settings_{
        store_,
        QDir::toNativeSeparators(folder_.filePath(QStringLiteral("program"))).toStdString()};
    FakeDialogs dialogs_;
    RecordingBoxes messages_;
    RecordingDesktop desktop_;
    std::unique_ptr<Form1> window_;
};

}  // namespace tallix::testing

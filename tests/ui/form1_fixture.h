#pragma once

#include <gtest/gtest.h>

#include "persistence/qt_test_printing.h"

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <stdexcept>
#include <vector>

#include "persistence/settings_store.h"
#include "persistence/user_settings.h"
#include "ui/desktop.h"
#include "ui/file_dialogs.h"
#include "ui/form1.h"
#include "ui/message_sink.h"

namespace tallix::testing {

// Answers every dialog with a path set by the test and records how it was asked.
class FakeDialogs : public FileDialogs {
public:
    struct Call {
        QWidget* owner;
        QString title;
        QString pattern;
        QString filterName;
    };

    QString ShowOpenDialog(QWidget* owner, const QString& title, const QString& pattern,
                           const QString& filterName) override {
        openCalls.push_back({owner, title, pattern, filterName});
        return answer;
    }
    QString ShowSaveDialog(QWidget* owner, const QString& title, const QString& pattern,
                           const QString& filterName) override {
        saveCalls.push_back({owner, title, pattern, filterName});
        return answer;
    }

    QString answer;
    std::vector<Call> openCalls;
    std::vector<Call> saveCalls;
};

// Keeps the messages instead of showing boxes, with what the window showed behind the box:
// the Start button's state and the path and result texts at that moment.
class RecordingMessages : public MessageSink {
public:
    struct Message {
        QWidget* owner;
        QString text;
        bool startEnabled = true;
        QString path;
        QString found;
        QString total;
    };

    void ShowMessage(QWidget* owner, const QString& text) override {
        const auto* start = owner->findChild<QAbstractButton*>(QStringLiteral("Command8"));
        const auto* path = owner->findChild<QLineEdit*>(QStringLiteral("txtFileName"));
        const auto* found = owner->findChild<QPlainTextEdit*>(QStringLiteral("lblFoundline"));
        const auto* total = owner->findChild<QLabel*>(QStringLiteral("LblTotalLine"));
        shown.push_back({owner, text, start != nullptr && start->isEnabled(),
                         path != nullptr ? path->text() : QStringLiteral("<none>"),
                         found != nullptr ? found->toPlainText() : QStringLiteral("<none>"),
                         total != nullptr ? total->text() : QStringLiteral("<none>")});
    }

    void ShowInformation(QWidget* owner, const QString& title, const QString& text) override {
        information.push_back({owner, title + u'|' + text, true, {}, {}, {}});
    }

    QStringList Texts() const {
        QStringList texts;
        for (const Message& message : shown)
            texts << message.text;
        return texts;
    }

    std::vector<Message> shown;
    std::vector<Message> information;  // text is "title|text"
};

// Records what the help menu asks the desktop to open, and answers as a desktop that has, or
// lacks, a program for it.
class RecordingDesktop : public Desktop {
public:
    bool ShowTextFile(const QString& path) override {
        textFiles << path;
        return opens;
    }
    bool OpenUrl(const QUrl& url) override {
        urls << url;
        return opens;
    }

    bool opens = true;
    QStringList textFiles;
    QList<QUrl> urls;
};

// A window over settings in a fresh folder, with fake dialogs and recorded messages. The
// window is built on first use, so a test can store settings for its start-up first.
class Form1Test : public ::testing::Test {
protected:
    Form1& Window() {
        if (!window_) {
            window_ = std::make_unique<Form1>(settings_, dialogs_, messages_, desktop_);
            window_->show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
        }
        return *window_;
    }

    template <typename Control>
    Control* Find(const char* name) {
        auto* control = Window().findChild<Control*>(QString::fromLatin1(name));
        if (control == nullptr) throw std::runtime_error(std::string("no control ") + name);
        return control;
    }

    void Click(const char* button) {
        QTest::mouseClick(Find<QAbstractButton>(button), Qt::LeftButton);
    }
    void Choose(const char* menuItem) { Find<QAction>(menuItem)->trigger(); }
    bool Checked(const char* name) { return Find<QAction>(name)->isChecked(); }

    void Store(const char* key, const QString& value) {
        store_.StoreSetting(QString::fromLatin1(key), value);
    }
    QString Stored(const char* key) const {
        return store_.LoadSetting(QString::fromLatin1(key), QStringLiteral("<absent>"));
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
    SettingsStore store_ = SettingsStore::InIniFile(folder_.filePath(QStringLiteral("Ordwen.ini")));
    // The program's own folder: where the help file is looked for.
    UserSettings settings_{store_,
                           QDir::toNativeSeparators(folder_.filePath(QStringLiteral("program")))};
    FakeDialogs dialogs_;
    RecordingMessages messages_;
    RecordingDesktop desktop_;
    std::unique_ptr<Form1> window_;
};

}  // namespace tallix::testing

// The real Qt dialogs, set up and run without a person: a timer answers each dialog, and a
// watchdog closes anything else that opens, so no test can hang on a box.
#include "ui/file_dialogs.h"

#include <gtest/gtest.h>

#include "persistence/qt_test_printing.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>

namespace tallix {
namespace {

class FileDialogsTest : public ::testing::Test {
protected:
    std::unique_ptr<QFileDialog> Make(FileDialogMode mode) {
        return MakeFileDialog(mode, nullptr, QStringLiteral("保存分析结果："),
                              QStringLiteral("*.LOG"), QStringLiteral("Log文件"), folder_.path());
    }

    // Runs the dialog with the file typed in and the dialog accepted (or cancelled); any
    // second box the dialog opens (a question, a warning) is closed and reported.
    QString Run(QFileDialog& dialog, const QString& file, bool accept) {
        QTimer::singleShot(0, &dialog, [&dialog, file, accept] {
            dialog.selectFile(file);
            QDialog& asked = dialog;  // QFileDialog hides accept(); it still overrides it
            accept ? asked.accept() : asked.reject();
        });
        QTimer watchdog;
        watchdog.setInterval(100);
        int ticks = 0;
        QObject::connect(&watchdog, &QTimer::timeout, [this, &dialog, &ticks] {
            bool stray = false;
            while (QWidget* box = QApplication::activeModalWidget()) {
                if (box == &dialog) break;
                extraBoxes_ << QString::fromLatin1(box->metaObject()->className());
                box->close();
                stray = true;
            }
            if (stray || ++ticks > 50) dialog.reject();
        });
        watchdog.start();
        const QString result = RunFileDialog(dialog);
        watchdog.stop();
        return result;
    }

    QString Existing(const char* name) {
        QFile file(folder_.filePath(QString::fromLatin1(name)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return file.fileName();
    }

    QTemporaryDir folder_;
    QStringList extraBoxes_;
};

TEST_F(FileDialogsTest, SetUpWithOneFilterAndTheTitle) {
    for (const FileDialogMode mode : {FileDialogMode::Open, FileDialogMode::Save}) {
        const auto dialog = Make(mode);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("保存分析结果："));
        EXPECT_EQ(dialog->nameFilters(), QStringList(QStringLiteral("Log文件(*.LOG)")));
        EXPECT_EQ(QDir(dialog->directory()), QDir(folder_.path()));
        EXPECT_FALSE(dialog->testOption(QFileDialog::ReadOnly));
    }
    const auto open = Make(FileDialogMode::Open);
    EXPECT_EQ(open->acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(open->fileMode(), QFileDialog::ExistingFile);
    const auto save = Make(FileDialogMode::Save);
    EXPECT_EQ(save->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(save->fileMode(), QFileDialog::AnyFile);
    EXPECT_TRUE(save->testOption(QFileDialog::DontConfirmOverwrite));
}

TEST_F(FileDialogsTest, CancelGivesAnEmptyPath) {
    for (const FileDialogMode mode : {FileDialogMode::Open, FileDialogMode::Save}) {
        const auto dialog = Make(mode);
        EXPECT_EQ(Run(*dialog, Existing("a.LOG"), false), QString());
    }
    EXPECT_TRUE(extraBoxes_.isEmpty());
}

TEST_F(FileDialogsTest, OpenGivesTheChosenExistingFile) {
    const QString file = Existing("p.LOG");
    const auto dialog = Make(FileDialogMode::Open);
    EXPECT_EQ(Run(*dialog, file, true), QDir::toNativeSeparators(file));
    EXPECT_TRUE(extraBoxes_.isEmpty());
}

TEST_F(FileDialogsTest, SaveTakesANewFileAndOverwritesWithoutAsking) {
    const QString fresh = folder_.filePath(QStringLiteral("new.LOG"));
    const auto first = Make(FileDialogMode::Save);
    EXPECT_EQ(Run(*first, fresh, true), QDir::toNativeSeparators(fresh));
    const QString old = Existing("old.LOG");
    const auto second = Make(FileDialogMode::Save);
    EXPECT_EQ(Run(*second, old, true), QDir::toNativeSeparators(old));
    EXPECT_TRUE(extraBoxes_.isEmpty()) << extraBoxes_.join(u',').toStdString();
}

}  // namespace
}  // namespace tallix

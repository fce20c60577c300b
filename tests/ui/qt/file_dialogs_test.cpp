// The real Qt dialogs, run without a person: a ModalAnswerer picks the file or cancels, and
// dismisses any further box, so no test waits on a dialog.
#include "ui/qt/file_dialogs.h"

#include <gtest/gtest.h>

#include "modal_answerer.h"
#include "qt_test_printing.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>

namespace tallix::testing {
namespace {

class FileDialogsTest : public ::testing::Test {
protected:
    std::unique_ptr<QFileDialog> Make(FileDialogMode mode) {
        return MakeFileDialog(mode, nullptr,
                              {"保存分析结果：", "*.LOG", "Log文件", folder_.path().toStdString()});
    }

    // Picks the file (typed into the name box) and accepts, or cancels when file is empty.
    static std::function<void(QFileDialog&)> Pick(const QString& file) {
        return [file](QFileDialog& dialog) {
            QDialog& asked = dialog;  // QFileDialog hides accept(); it still overrides it
            if (file.isEmpty()) {
                return asked.reject();
            }
            // As a person would type it: selectFile() leaves alone a name box that has the focus.
            auto* nameBox = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(nameBox, nullptr);
            nameBox->setText(file);
            asked.accept();
        };
    }

    QString Existing(const char* name) {
        QFile file(folder_.filePath(QString::fromLatin1(name)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return file.fileName();
    }

    QTemporaryDir folder_;
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
        ModalAnswerer person(Pick(QString()));
        EXPECT_EQ(RunFileDialog(*dialog), QString());
        EXPECT_TRUE(person.answered());
        EXPECT_TRUE(person.strays.isEmpty());
    }
}

// Each answerer lives only as long as its dialog runs: a live one dismisses any later dialog.
TEST_F(FileDialogsTest, OpenTakesOnlyAnExistingFile) {
    const QString file = Existing("p.LOG");
    {
        const auto dialog = Make(FileDialogMode::Open);
        ModalAnswerer person(Pick(file));
        EXPECT_EQ(RunFileDialog(*dialog), QDir::toNativeSeparators(file));
        EXPECT_TRUE(person.strays.isEmpty());
    }
    {
        const auto dialog = Make(FileDialogMode::Open);
        ModalAnswerer person(Pick(folder_.filePath(QStringLiteral("missing.LOG"))));
        EXPECT_EQ(RunFileDialog(*dialog), QString());
        EXPECT_TRUE(person.answered());
        EXPECT_FALSE(person.strays.isEmpty()) << "the dialog should have refused the name";
    }
}

TEST_F(FileDialogsTest, SaveTakesANewFileAndOverwritesWithoutAsking) {
    const QString fresh = folder_.filePath(QStringLiteral("new.LOG"));
    const QString old = Existing("old.LOG");
    for (const QString& file : {fresh, old}) {
        const auto dialog = Make(FileDialogMode::Save);
        ModalAnswerer person(Pick(file));
        EXPECT_EQ(RunFileDialog(*dialog), QDir::toNativeSeparators(file));
        EXPECT_TRUE(person.strays.isEmpty()) << person.strays.join(u',').toStdString();
    }
}

// QtFileDialogs as the window uses them: starting in the folder asked for, owned by the
// window, the path returned as chosen.
class QtFileDialogsTest : public FileDialogsTest {
protected:
    QtFileDialogs dialogs_;
    QString seenFolder_;
    QWidget* seenOwner_ = nullptr;

    std::function<void(QFileDialog&)> NoteAndPick(const QString& file) {
        return [this, file](QFileDialog& dialog) {
            seenFolder_ = dialog.directory().absolutePath();
            seenOwner_ = dialog.parentWidget();
            Pick(file)(dialog);
        };
    }
};

TEST_F(QtFileDialogsTest, OpenStartsInTheFolderAskedFor) {
    QDir(folder_.path()).mkdir(QStringLiteral("last"));
    const QString project = folder_.filePath(QStringLiteral("last/p.vbp"));
    QFile(project).open(QIODevice::WriteOnly);
    QWidget owner;
    dialogs_.SetOwner(&owner);
    ModalAnswerer person(NoteAndPick(project));
    EXPECT_EQ(dialogs_.ShowOpenDialog({"打开VB6工程文件(*.vbp)", "*.vbp", "VB6工程文件",
                                       folder_.filePath(QStringLiteral("last")).toStdString()}),
              QDir::toNativeSeparators(project).toStdString());
    EXPECT_EQ(QDir(seenFolder_), QDir(folder_.filePath(QStringLiteral("last"))));
    EXPECT_EQ(seenOwner_, &owner);
}

TEST_F(QtFileDialogsTest, SaveReturnsTheNameAsChosen) {
    ModalAnswerer person(NoteAndPick(folder_.filePath(QStringLiteral("report"))));
    EXPECT_EQ(dialogs_.ShowSaveDialog(
                  {"保存分析结果：", "*.LOG", "Log文件", folder_.path().toStdString()}),
              QDir::toNativeSeparators(folder_.filePath(QStringLiteral("report"))).toStdString());
    EXPECT_EQ(QDir(seenFolder_), QDir(folder_.path()));
    EXPECT_TRUE(person.strays.isEmpty());
}

}  // namespace
}  // namespace tallix::testing

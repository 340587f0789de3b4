// Modal popups as Qt dialogs: messages, yes/no confirmations, file and directory selection.
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "qt_frontend.h"
#include "qt_util.h"

namespace qmqt {
namespace {

QWidget* dialogParent() {
    QWidget* w = QApplication::activeModalWidget();
    return w ? w : QApplication::activeWindow();
}

// The busy cursor must not sit over a question the operator has to answer.
class NormalCursor {
  public:
    NormalCursor() : overridden_(QGuiApplication::overrideCursor() != nullptr) {
        if (overridden_) QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~NormalCursor() {
        if (overridden_) QGuiApplication::restoreOverrideCursor();
    }
    NormalCursor(const NormalCursor&) = delete;
    NormalCursor& operator=(const NormalCursor&) = delete;

  private:
    bool overridden_;
};

QString startDirectory(const std::string& dir) {
    const QString d = qs(dir);
    return !d.isEmpty() && QFileInfo(d).isDir() ? d : QDir::currentPath();
}

}  // namespace

int QtFrontend::messagePopup(const std::string& title, const std::string& message) {
    NormalCursor cursor;
    QMessageBox box(QMessageBox::NoIcon, qs(title), qs(message), QMessageBox::Ok, dialogParent());
    box.exec();
    return 0;
}

int QtFrontend::confirmPopup(const std::string& title, const std::string& message) {
    NormalCursor cursor;
    QMessageBox box(QMessageBox::Question, qs(title), qs(message), QMessageBox::Yes | QMessageBox::No,
                    dialogParent());
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? 1 : 0;
}

int QtFrontend::fileSelectPopup(const ui::FileSelectRequest& request, std::string* path) {
    NormalCursor cursor;
    const QString dir = startDirectory(request.defaultDirectory);
    QFileDialog dialog(dialogParent(), qs(request.title), dir);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    const bool save = request.buttonLabel == VAL_SAVE_BUTTON;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.buttonLabel == VAL_LOAD_BUTTON ? QFileDialog::ExistingFile
                                                              : QFileDialog::AnyFile);
    // Overwriting is the program's question to ask, not the dialog's.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!request.allowMakeDirectory) dialog.setOption(QFileDialog::ReadOnly);

    // A default pattern such as "*.ini" is the first filter; the type list adds more ("*.ini;*.txt").
    QStringList filters;
    const QString pattern = qs(request.defaultFileSpec);
    if (pattern.contains(QLatin1Char('*')) || pattern.contains(QLatin1Char('?')))
        filters << pattern;
    else if (!pattern.isEmpty())
        dialog.selectFile(pattern);
    for (const QString& f : qs(request.fileTypeList).split(QLatin1Char(';'), Qt::SkipEmptyParts))
        if (!filters.contains(f.trimmed())) filters << f.trimmed();
    if (!request.restrictExtension || filters.isEmpty()) filters << QStringLiteral("*");
    dialog.setNameFilters(filters);
    if (request.restrictExtension && !filters.isEmpty()) {
        const QString first = filters.first();
        const int dot = first.lastIndexOf(QLatin1Char('.'));
        if (dot >= 0 && !first.mid(dot + 1).contains(QLatin1Char('*')))
            dialog.setDefaultSuffix(first.mid(dot + 1));
    }
    if (request.restrictDirectory) {
        QObject::connect(&dialog, &QFileDialog::directoryEntered, &dialog,
                         [&dialog, dir](const QString& entered) {
                             if (QDir(entered) != QDir(dir)) dialog.setDirectory(dir);
                         });
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return VAL_NO_FILE_SELECTED;
    const QString chosen = dialog.selectedFiles().first();
    if (path) *path = QDir::toNativeSeparators(chosen).toStdString();
    return QFileInfo::exists(chosen) ? VAL_EXISTING_FILE_SELECTED : VAL_NEW_FILE_SELECTED;
}

int QtFrontend::dirSelectPopup(const ui::DirSelectRequest& request, std::string* path) {
    NormalCursor cursor;
    QFileDialog dialog(dialogParent(), qs(request.title), startDirectory(request.defaultDirectory));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (!request.allowMakeDirectory) dialog.setOption(QFileDialog::ReadOnly);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return VAL_NO_DIRECTORY_SELECTED;
    if (path) *path = QDir::toNativeSeparators(dialog.selectedFiles().first()).toStdString();
    return VAL_DIRECTORY_SELECTED;
}

}  // namespace qmqt

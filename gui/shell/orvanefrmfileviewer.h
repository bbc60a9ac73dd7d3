#ifndef ORVANEFRMFILEVIEWER_H
#define ORVANEFRMFILEVIEWER_H

#include "orvanetextfileview.h"

#include <QDialog>

#include <memory>

class OrvaneFrmSearching;

namespace Ui {
class OrvaneFrmFileViewer;
}

// A small dialog that shows one text file, lets the user edit it and save it
// elsewhere, with a find bar. Files come from the open button, from a drop on
// the name field, or from loadFile (command line, main window).
class OrvaneFrmFileViewer : public QDialog
{
    Q_OBJECT
public:
    explicit OrvaneFrmFileViewer(QWidget* parent = nullptr);
    ~OrvaneFrmFileViewer() override;

    // Shows fileName and its whole content; a file that cannot be read is
    // reported and leaves the view empty. Save writes the text in the
    // encoding the file was read in, lines separated by a line feed.
    void loadFile(const QString& fileName);

    static const QString hintText;

private slots:
    void on_edtFileName_textChanged(const QString& text);
    void on_btnOpenFile_clicked();
    void on_btnClearVisualization_clicked();
    void on_btnSaveFile_clicked();
    void on_btnFindText_clicked();

private:
    std::unique_ptr<Ui::OrvaneFrmFileViewer> ui;
    OrvaneFrmSearching* frmSearching = nullptr;
    // How the loaded file was stored; UTF-8 for a text typed anew.
    OrvaneTextFileView::Encoding encoding;
};

#endif

#ifndef ORVANEFRMMAINWINDOW_H
#define ORVANEFRMMAINWINDOW_H

#include <QWidget>

#include <memory>

class OrvaneFrmAbout;
class OrvaneFrmFileViewer;
class OrvaneFrmHandleSpectroscopicCalculation;
class OrvaneUpdateController;
class QListWidgetItem;

namespace Ui {
class OrvaneFrmMainWindow;
}

// The program's window: an icon list selects one of five pages (MOPAC, ORCA,
// Module 3, Files Converter, About); below them a status panel collects every
// page's log lines, and a bottom row opens the text-file viewer, shows or
// hides the panel and checks for updates.
class OrvaneFrmMainWindow : public QWidget
{
    Q_OBJECT
public:
    enum Page { MopacPage = 0, OrcaPage = 1, SpectroscopicPage = 2, FilesConverterPage = 3, AboutPage = 4 };

    explicit OrvaneFrmMainWindow(QWidget* parent = nullptr);
    ~OrvaneFrmMainWindow() override;

    OrvaneFrmFileViewer* getFileViewer() const { return fileViewer.get(); }
    OrvaneUpdateController* getUpdateController() const { return updateController; }

public slots:
    // Shows the page of current's row, or of previous's when current is null.
    void changePage(QListWidgetItem* current, QListWidgetItem* previous);
    // Makes index the current row and page; an index outside the pages
    // changes nothing.
    void setPageToBeDisplayed(const int& index);

private slots:
    void on_btnHideStatusMessage_clicked(bool isVisible);
    // Shows the viewer application-modal, centred on its screen's free area,
    // and returns when it closes. The viewer keeps its file between openings.
    void on_btnFileViewer_clicked();

private:
    void addLoggingPage(QWidget* page);

    std::unique_ptr<Ui::OrvaneFrmMainWindow> ui;
    std::unique_ptr<OrvaneFrmFileViewer> fileViewer; // no parent: a window of its own
    OrvaneUpdateController* updateController = nullptr;
    OrvaneFrmHandleSpectroscopicCalculation* frmSpectroscopic = nullptr;
};

#endif

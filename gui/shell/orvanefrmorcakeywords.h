#ifndef ORVANEFRMORCAKEYWORDS_H
#define ORVANEFRMORCAKEYWORDS_H

#include <QWidget>

#include <memory>

namespace Ui {
class OrvaneFrmOrcaKeywords;
}

// The ORCA options of an excited-state calculation: the point-charge file
// (shown only), triplet states, the number of roots and the excitation
// window of the CIS calculation.
class OrvaneFrmOrcaKeywords : public QWidget
{
    Q_OBJECT
public:
    explicit OrvaneFrmOrcaKeywords(QWidget* parent = nullptr);
    ~OrvaneFrmOrcaKeywords() override;

    // The calculation page reads and resets the widgets directly.
    std::unique_ptr<Ui::OrvaneFrmOrcaKeywords> ui;
};

#endif

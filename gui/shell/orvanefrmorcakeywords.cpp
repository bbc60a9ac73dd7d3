#include "orvanefrmorcakeywords.h"
#include "ui_orvanefrmorcakeywords.h"

OrvaneFrmOrcaKeywords::OrvaneFrmOrcaKeywords(QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::OrvaneFrmOrcaKeywords>())
{
    ui->setupUi(this);
    // Triplets are always computed: the box stays checked, out of sight.
    ui->chbIsTripletLevel->hide();
}

OrvaneFrmOrcaKeywords::~OrvaneFrmOrcaKeywords() = default;

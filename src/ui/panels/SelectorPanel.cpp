// The left column: the system selector, both selector chains, the port and the connect button,
// and the event index.
#include "events/EventLists.h"
#include "link/ConnectionLifecycle.h"
#include "retrieval/EventDownload.h"
#include "retrieval/EventIndex.h"
#include "systems/Systems.h"
#include "ui/frmMaster.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QVBoxLayout>

namespace mr3x {

namespace {

QComboBox* selector(QWidget* parent, const QString& name, int index = -1)
{
    auto* box = named(new QComboBox(parent), name, index);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(12);
    return box;
}

class RowAtPress : public QObject {
public:
    explicit RowAtPress(QListWidget* list) : QObject(list), list_(list) { list->viewport()->installEventFilter(this); }
    int row = -1;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonPress)
            row = list_->currentRow();
        return false;
    }

private:
    QListWidget* list_;
};

} // namespace

QWidget* frmMaster::buildSelectorColumn()
{
    auto* column = new QWidget(this);
    column->setObjectName(QStringLiteral("fraSelectors"));
    // A fixed width: the column keeps its place when the system selector is hidden or shown. It
    // is as narrow as its lists allow, for the viewers beside the Control Panel on a laptop.
    column->setFixedWidth(226);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);

    // System selector: a panel with its "X" label in the corner.
    fraSystems = named(new QGroupBox(QStringLiteral("System Selector"), column), QStringLiteral("fraSystems"));
    auto* systemsLayout = new QGridLayout(fraSystems);
    systemsLayout->setContentsMargins(6, 0, 6, 6);
    systemsLayout->setVerticalSpacing(2);
    lblHideSystemSelector = named(new EventLabel(QStringLiteral("X"), fraSystems), QStringLiteral("lblHideSystemSelector"));
    lblHideSystemSelector->setCursor(Qt::PointingHandCursor);
    lblHideSystemSelector->setToolTip(QStringLiteral("Hide the system selector"));
    lstSystems = named(new QListWidget(fraSystems), QStringLiteral("lstSystems"));
    lstSystems->setMaximumHeight(110);
    systemsLayout->addWidget(lblHideSystemSelector, 0, 1, Qt::AlignRight);
    systemsLayout->addWidget(lstSystems, 1, 0, 1, 2);
    layout->addWidget(fraSystems);
    DirSystems = named(new FolderList(this), QStringLiteral("DirSystems"));
    filSystems = named(new FileList(this), QStringLiteral("filSystems"));
    filSystems->setPattern(QStringLiteral("*.cfg"));

    // The two selector chains.
    for (int i = 0; i < 2; ++i) {
        auto* chain = new QGroupBox(i == 0 ? QStringLiteral("Master") : QStringLiteral("Slave"), column);
        chain->setObjectName(i == 0 ? QStringLiteral("fraMasterChain") : QStringLiteral("fraSlaveChain"));
        auto* form = new QFormLayout(chain);
        form->setContentsMargins(6, 4, 6, 4);
        DirJobs[i] = named(new FolderList(this), QStringLiteral("DirJobs"), i);
        DirLocations[i] = named(new FolderList(this), QStringLiteral("DirLocations"), i);
        DirUnits[i] = named(new FolderList(this), QStringLiteral("DirUnits"), i);
        filTrig[i] = named(new FileList(this), QStringLiteral("filTrig"), i);
        cboJobs[i] = selector(chain, QStringLiteral("cboJobs"), i);
        cboLocations[i] = selector(chain, QStringLiteral("cboLocations"), i);
        cboUnits[i] = selector(chain, QStringLiteral("cboUnits"), i);
        form->addRow(QStringLiteral("Job"), cboJobs[i]);
        form->addRow(QStringLiteral("Location"), cboLocations[i]);
        form->addRow(QStringLiteral("Unit"), cboUnits[i]);
        if (i == 0) {
            cboBT_ID = selector(chain, QStringLiteral("cboBT_ID"));
            cboSIM_No = selector(chain, QStringLiteral("cboSIM_No"));
            form->addRow(QStringLiteral("B/T ID"), cboBT_ID);
            form->addRow(QStringLiteral("SIM No"), cboSIM_No);
        }
        layout->addWidget(chain);
    }
    filTST = named(new FileList(this), QStringLiteral("filTST"));
    filTST->setPattern(QStringLiteral("*.tst;*.ref"));
    filTDR = named(new FileList(this), QStringLiteral("filTDR"));
    filTDR->setPattern(QStringLiteral("*.TDR"));
    chkLocalJobs = named(new QCheckBox(QStringLiteral("Local Jobs"), column), QStringLiteral("chkLocalJobs"));
    chkLocalJobs->setToolTip(QStringLiteral("List only the jobs, locations and units that the system's unit table names"));
    layout->addWidget(chkLocalJobs);

    // The link to the Local Unit.
    auto* link = new QGroupBox(QStringLiteral("Local Unit"), column);
    link->setObjectName(QStringLiteral("fraLink"));
    auto* linkLayout = new QGridLayout(link);
    linkLayout->setContentsMargins(6, 4, 6, 4);
    cboCommports = selector(link, QStringLiteral("cboCommports"));
    cboCommports->setToolTip(QStringLiteral("Serial port of the Local Unit: choose one, or type a device path "
                                            "(such as a pty of mr3x-unit-sim) and press Enter"));
    // A port the system does not list (a pty, an adapter plugged in later) can be typed in:
    // Enter adds it to the list and opens it.
    cboCommports->setEditable(true);
    cboCommports->setInsertPolicy(QComboBox::InsertAtBottom);
    // With a placeholder the list keeps "no port chosen" when entries are added.
    cboCommports->setPlaceholderText(QStringLiteral("Choose a port"));
    cboCommports->lineEdit()->setPlaceholderText(QStringLiteral("Choose a port"));
    optBaud[0] = named(new QRadioButton(QStringLiteral("9.6"), link), QStringLiteral("optBaud"), 0);
    optBaud[1] = named(new QRadioButton(QStringLiteral("115"), link), QStringLiteral("optBaud"), 1);
    optBaud[0]->setChecked(true);
    optBaud[0]->setToolTip(QStringLiteral("9600 baud"));
    optBaud[1]->setToolTip(QStringLiteral("115200 baud"));
    cmdConnect = named(new QPushButton(QStringLiteral("Connect to Local Unit"), link), QStringLiteral("cmdConnect"));
    linkLayout->addWidget(new QLabel(QStringLiteral("Port"), link), 0, 0);
    linkLayout->addWidget(cboCommports, 0, 1, 1, 3);
    linkLayout->addWidget(new QLabel(QStringLiteral("kbaud"), link), 1, 0);
    linkLayout->addWidget(optBaud[0], 1, 1);
    linkLayout->addWidget(optBaud[1], 1, 2);
    linkLayout->addWidget(cmdConnect, 2, 0, 1, 4);
    layout->addWidget(link);

    // The event index.
    fraIndex = named(new QGroupBox(QStringLiteral("Event index"), column), QStringLiteral("fraIndex"));
    auto* indexLayout = new QGridLayout(fraIndex);
    indexLayout->setContentsMargins(6, 4, 6, 4);
    lstIndex = named(new QListWidget(fraIndex), QStringLiteral("lstIndex"));
    lstIndex->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstIndex->setFont(QFont(QStringLiteral("Monospace")));
    lstBuffer = named(new QListWidget(this), QStringLiteral("lstBuffer"));
    lstBuffer->setSortingEnabled(true);
    lstBuffer->hide();
    cmdSelectAll = named(new QPushButton(QStringLiteral("Select All"), fraIndex), QStringLiteral("cmdSelectAll"));
    cmdClearAll = named(new QPushButton(QStringLiteral("Clear All"), fraIndex), QStringLiteral("cmdClearAll"));
    cmdGetData = named(new QPushButton(QStringLiteral("Get Data"), fraIndex), QStringLiteral("cmdGetData"));
    cmdGetData->setEnabled(false);
    indexLayout->addWidget(lstIndex, 0, 0, 1, 3);
    indexLayout->addWidget(cmdSelectAll, 1, 0);
    indexLayout->addWidget(cmdClearAll, 1, 1);
    indexLayout->addWidget(cmdGetData, 1, 2);
    fraIndex->hide();
    layout->addWidget(fraIndex, 1);
    layout->addStretch(0);
    return column;
}

void frmMaster::wireSelectors()
{
    connect(DirSystems, &FolderList::Change, this, [this] { systems->DirSystems_Change(); });
    connect(lstSystems, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            systems->lstSystems_Click();
    });
    // Clicking the system that is already selected opens it again: remember which row was
    // current when the mouse went down, before the list moves its selection.
    auto* rowAtPress = new RowAtPress(lstSystems);
    connect(lstSystems, &QListWidget::itemClicked, this, [this, rowAtPress](QListWidgetItem* item) {
        if (lstSystems->row(item) == rowAtPress->row)
            systems->lstSystems_Click();
    });
    connect(lblHideSystemSelector, &EventLabel::Click, this, [this] { fraSystems->hide(); });
    for (int i = 0; i < 2; ++i) {
        connect(DirJobs[i], &FolderList::Change, this, [this, i] { systems->DirJobs_Change(i); });
        connect(DirLocations[i], &FolderList::Change, this, [this, i] { systems->DirLocations_Change(i); });
        connect(DirUnits[i], &FolderList::Change, this, [this, i] { systems->DirUnits_Change(i); });
        connect(cboJobs[i], &QComboBox::currentIndexChanged, this, [this, i](int index) {
            if (index >= 0)
                systems->cboJobs_Click(i);
        });
        connect(cboLocations[i], &QComboBox::currentIndexChanged, this, [this, i](int index) {
            if (index >= 0)
                systems->cboLocations_Click(i);
        });
        connect(cboUnits[i], &QComboBox::currentIndexChanged, this, [this, i](int index) {
            if (index >= 0)
                systems->cboUnits_Click(i);
        });
        connect(filTrig[i], &FileList::PathChange, this, [this, i] { eventLists->filTrig_PathChange(i); });
    }
    connect(chkLocalJobs, &QCheckBox::toggled, this, [this] { systems->chkLocalJobs_Click(); });

    connect(cboCommports, &QComboBox::activated, this, [this] { connection->cboCommports_Click(); });
    connect(cmdConnect, &QPushButton::clicked, this, [this] { connection->cmdConnect_Click(); });

    // The index's selection rule runs on every change of the selection, a click's or the
    // program's ("Select All"), so an empty slot or a stored event never stays selected.
    connect(lstIndex, &QListWidget::itemSelectionChanged, this, [this] { eventIndex->lstIndex_Click(); });
    connect(lstIndex, &QListWidget::itemDoubleClicked, this, [this] { eventIndex->lstIndex_DblClick(); });
    connect(cmdSelectAll, &QPushButton::clicked, this, [this] { eventIndex->cmdSelectAll_Click(); });
    connect(cmdClearAll, &QPushButton::clicked, this, [this] { eventIndex->cmdClearAll_Click(); });
    connect(cmdGetData, &QPushButton::clicked, this, [this] { eventDownload->cmdGetData_Click(); });
}

} // namespace mr3x

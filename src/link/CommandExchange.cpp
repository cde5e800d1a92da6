#include "link/CommandExchange.h"

#include "ui/frmMaster.h"

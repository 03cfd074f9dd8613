// A data module includes what it links: this compiles.
#include "app/general/message_store.h"
#include "app/rules/rule_set.h"

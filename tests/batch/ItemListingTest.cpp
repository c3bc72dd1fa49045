#include "batch/ItemListing.h"

#include "model/DatedPicture.h"

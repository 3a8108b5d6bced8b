// The header the file below the run reaches up to.
#pragma once

// The host runtime as model libraries see it.
#pragma once
#include "qtvexp/api.h"
#include "qtvexp/core.h"
#include "qtvexp/members.h"
#include "qtvexp/sets.h"
#include "qtvexp/value.h"
#include "qtvexp/connectivity.h"
#include "qtvexp/procedures.h"
#include "qtvexp/arrays.h"
#include "qtvexp/wrapper_bases.h"

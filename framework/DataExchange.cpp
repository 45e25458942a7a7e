#include "framework/DataExchange.h"

#include "framework/Window.h"

void DdxText(CDataExchange& dx, int id, std::string& value)
{
    if (dx.Saving())
        value = GetDlgItemTextString(dx.Dialog(), id);
    else
        SetDlgItemTextString(dx.Dialog(), id, value);
}

#pragma once
// Owners of the GDI and USER handles the toolkit creates.

#include "base/win32/handles.h"

#include <windows.h>
#include <commctrl.h>

using UniqueFont = UniqueHandle<HFONT, DeleteObject>;
using UniqueIcon = UniqueHandle<HICON, DestroyIcon>;
using UniqueMenu = UniqueHandle<HMENU, DestroyMenu>;
using UniqueImageList = UniqueHandle<HIMAGELIST, ImageList_Destroy>;
using UniqueBitmap = UniqueHandle<HBITMAP, DeleteObject>;
using UniqueMemoryDC = UniqueHandle<HDC, DeleteDC>;

// xmkclient: the client-side tool library of the project-management suite.
// Include this one header for the whole public interface.
#pragma once

// The version compiled against and the one loaded
#include "xmkversion.h"

// Framework stand-ins
#include "platform/CFile.h"
#include "platform/COleDateTime.h"
#include "platform/CString.h"
#include "platform/CTime.h"
#include "platform/Export.h"
#include "platform/FrameworkBases.h"
#include "platform/FrameworkException.h"
#include "platform/GUID.h"
#include "platform/MessageBox.h"
#include "platform/WinTypes.h"

// Remote-call component
#include "wirekit/ExchangeReport.h"
#include "wirekit/TWebService.h"
#include "wirekit/WebArgument.h"
#include "wirekit/WebTransport.h"
#include "wirekit/WireSettings.h"

// Row library
#include "gridcore/CIniFile.h"
#include "gridcore/CSysDataInfo.h"
#include "gridcore/CTableRow.h"
#include "gridcore/CXML_FormatItemManager.h"
#include "gridcore/CZIPAndEntryTool.h"
#include "gridcore/RowBases.h"
#include "gridcore/RowTypes.h"
#include "gridcore/basefun.h"

// JSON document
#include "json/CJosn.h"

// Configuration
#include "config/CIniManager.h"

// Service access
#include "service/CServiceSupport.h"
#include "service/CWebService.h"
#include "service/ServiceNames.h"
#include "service/ServiceRetValue.h"

// Web data store
#include "datastore/CDataStore.h"
#include "datastore/CDataStoreWebService.h"
#include "datastore/COperatorItem.h"
#include "datastore/ItemKinds.h"
#include "datastore/QueryType.h"
#include "datastore/ServiceConditionJosn.h"
#include "datastore/XmkFunctionId.h"

// Geometry
#include "geometry/CBox2F.h"
#include "geometry/CFPoint.h"

// Shared records
#include "records/CExpressionCall.h"
#include "records/CFileTransObj.h"
#include "records/CFormatInfo.h"
#include "records/CFtpFileTask.h"
#include "records/CRes_DataBase.h"
#include "records/CRes_Dialog.h"
#include "records/CRes_Recordset.h"
#include "records/CSysDataInfoRightCode.h"
#include "records/CSysDataInfo_ShowCol.h"
#include "records/CSysDataInfo_VecStr.h"
#include "records/CSysListBox.h"
#include "records/CTable.h"
#include "records/CTableDefNode.h"
#include "records/CTableIF.h"
#include "records/CTableRow_forSelected.h"
#include "records/CTarvex_Obj.h"
#include "records/CURL_Expand.h"
#include "records/CharSocket.h"
#include "records/DbTableRowFunctor.h"
#include "records/EmptyRecords.h"
#include "records/FindData.h"
#include "records/FtpNotifyData.h"
#include "records/SDigitSignResult.h"
#include "records/SharedText.h"
#include "records/quotacode_ext_info.h"

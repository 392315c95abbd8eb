// Stand in for the row library's enumerations that record members hand out. Only the values
// this library answers with are named; the row library's other values fit the same types.
#pragma once

// The data type of a table column.
enum DataType {
    DT_String = 0,
    DT_Integer = 1,
    DT_Double = 2,
    DT_DateTime = 3,
    DT_Bool = 4,
};

// The category of a node in a tree of rows; 254 is the answer of a row that does not
// override GetCateKind.
enum DT_CateKind {
    DT_CateKind_Default = 254,
};

// The kind of a bill-of-quantities node; 22 is the answer of a row that does not override
// GetQDKind_.
enum QDKind {
    QDKind_Default = 22,
};

// What a find-and-replace over bill-of-quantities rows looks at.
enum ReplaceQD_FilterKind {
    ReplaceQD_FilterAll = 0,
    ReplaceQD_FilterCode = 1,
    ReplaceQD_FilterName = 2,
};

// The kind of a resource dialog; 0 is the plain dialog.
enum Res_DlgType {
    Res_DlgType_Normal = 0,
};

// The function ids that select a record's kind and the operation codes that every data-store
// request carries ("FunctionID" and "FunctionType" of its Permission block). Both travel as
// decimal numbers; ids this library gives no meaning to are sent unchanged.
#pragma once

// 32 bits with a fixed underlying type, so that any id a caller passes is a valid value.
enum XmkFunctionId : int {
    XmkApproval = 0,        // approval record
    XmkAcceptance = 1,      // acceptance record
    XmkProofAttach = 2,     // proof attachment
    XmkGenericObject3 = 3,  // the three generic-object kinds, told apart only by their id
    XmkGenericObject4 = 4,
    XmkGenericObject5 = 5,  // ids from 6 up are other record functions, written through the
                            // uniform operation
    XmkProjectList = 9000,  // project, bid and instance lists and the maximum-index queries
    XmkCorpList = 9010,     // corp list query
};

// The operation code sent as "FunctionType".
enum XmkFunctionType : int {
    XmkQuery = 0,
    XmkInsert = 1,
    XmkUpdate = 2,
    XmkDelete = 3,
    XmkAudit = 4,
};

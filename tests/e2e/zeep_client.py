#!/usr/bin/env python3
"""An independent SOAP client, zeep, reads xmk-backend's WSDL and calls the back-end.

Usage: zeep_client.py PATH_TO_XMK_BACKEND. Starts the program on a free port of 127.0.0.1,
checks the answers of a few methods (their JSON written by Python, blanks included) and a
fault, and stops it. Exits non-zero on the first wrong answer.
"""
import json
import subprocess
import sys

import requests
import zeep


def check(actual, expected, what):
    if actual != expected:
        sys.exit(f"{what}: expected {expected!r}, got {actual!r}")


def permission(function_id, function_type):
    return {"UserID": 7, "AppID": 3, "FunctionID": function_id,
            "FunctionType": function_type, "IsrtAreaCode": "370100"}


def run(url):
    session = requests.Session()
    session.trust_env = False  # the loopback is never reached through a proxy
    service = zeep.Client(url + "?wsdl", transport=zeep.Transport(session=session)).service
    ok = '{"ret":1,"msg":"ok","data":"%s"}'

    insert = {"Values": {"Title": "zeep"}, "Permission": permission(100, 1)}
    check(service.DoWork(jsonInput=json.dumps(insert)), ok % 1, "DoWork insert")
    count = {"Conditions": {"Type": 8}, "Permission": permission(100, 0)}
    check(service.DoWork(jsonInput=json.dumps(count)), '{"TotalCount":1}', "DoWork count")

    page = json.loads(service.GetProjectCount(queryCodition='{"AreaCode": "370200"}'))
    check([r["ProjectName"] for r in page["Rows"]], ["胶州湾隧道附属工程", "青岛港疏港路拓宽工程"],
          "GetProjectCount")

    approval = {"Appvl": {"ProjectID": 4, "Title": "zeep"}, "Permission": permission(0, 1)}
    check(service.InsertApprovalForCpp(pAop=json.dumps(approval)), ok % 2, "InsertApprovalForCpp")
    check(service.DeleteApprovalForCpp(aopID="2"), ok % 1, "DeleteApprovalForCpp")

    check(service.CheckXMFZR(EmpId="1001"), "1,张伟:1:3:1", "CheckXMFZR")
    check(service.CheckXMFZRForCpp(empId="1003", corpDogId="502", roleId="3", areaCode="370200"),
          "2;ok;4,5", "CheckXMFZRForCpp")

    logs = json.loads(service.GetLogs(condition='{"RecordID": 2}'))
    check([(r["Method"], r["FunctionType"]) for r in logs["Rows"]],
          [("InsertApprovalForCpp", 1), ("DeleteApprovalForCpp", 3)], "GetLogs")

    try:
        service.DoWork(jsonInput='{"Values": {"Title": "x"}}')
        sys.exit("DoWork without a Permission block: no fault")
    except zeep.exceptions.Fault as fault:
        check(fault.message, "the request has no Permission object", "fault")


def main():
    backend = subprocess.Popen([sys.argv[1], "--port", "0"], stdout=subprocess.PIPE, text=True)
    try:
        line = backend.stdout.readline()
        prefix = "listening on 127.0.0.1:"
        if not line.startswith(prefix):
            sys.exit(f"xmk-backend did not announce its port: {line!r}")
        run(f"http://127.0.0.1:{line[len(prefix):].strip()}/UniteInterface")
    finally:
        backend.terminate()
        backend.wait(timeout=10)
    print("zeep: every answer as expected")


if __name__ == "__main__":
    main()

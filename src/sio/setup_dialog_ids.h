/* Resource and control ids of the serial port setup dialog, shared by the resource
   script and the dialog code. */
#pragma once

#define IDD_SIO_SETUP 103

#define IDC_SIO_PORT 1000
#define IDC_SIO_BAUDRATE 1001
#define IDC_SIO_PARITY 1002
#define IDC_SIO_DATABITS 1003
#define IDC_SIO_STOPBITS 1004
#define IDC_SIO_PROTOCOL 1005
#define IDC_SIO_INPUT_LABEL 1006
#define IDC_SIO_OUTPUT_LABEL 1007
#define IDC_SIO_CTS 1009
#define IDC_SIO_RTS 1010
#define IDC_SIO_DSR 1011
#define IDC_SIO_DTR 1012

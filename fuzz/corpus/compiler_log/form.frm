VERSION 5.00
Object = "{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0"; "MSCOMCTL.OCX"
Begin VB.Form Form1 
   Begin VB.CommandButton Command1 
      BeginProperty Font 
         Name = "x"
      EndProperty
   End
End
Attribute VB_Name = "Form1"
Option Explicit

Attribute VB_Name = "modHelpers"
Option Explicit

' 把条目格式化为列表中的一行
Public Function FormatItem(ByVal oItem As clsItem) As String
    FormatItem = oItem.Name & vbTab & CStr(oItem.Quantity)
End Function
